#include "widgets/list_ctrl_ex.h"

#include <algorithm>

CListCtrlEx::CellInfo* CListCtrlEx::ItemData::findCell(int column) const {
    for (const auto& cell : cells)
        if (cell->column == column) return cell.get();
    return nullptr;
}

CListCtrlEx::~CListCtrlEx() {
    hook.leave();
    rowRecords.clear();
    columnInfos.clear();
}

void CListCtrlEx::onAttached() {
    defaultBackColor = static_cast<COLORREF>(send(LVM_GETTEXTBKCOLOR));
    defaultTextColor = static_cast<COLORREF>(send(LVM_GETTEXTCOLOR));
    send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    SetWindowLongPtrW(hwnd(), GWL_STYLE, GetWindowLongPtrW(hwnd(), GWL_STYLE) | LVS_REPORT);
    CMsgHook::followThread(GetWindowThreadProcessId(hwnd(), nullptr));
}

LRESULT CListCtrlEx::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kEndEditMessage) EndEdit(static_cast<int>(wParam));
    return ListCtrl::windowProc(message, wParam, lParam);
}

int CListCtrlEx::insertItem(int row, const std::wstring& text) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    return static_cast<int>(send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

std::wstring CListCtrlEx::GetItemText(int row, int column) const {
    std::vector<wchar_t> buffer(256);
    while (true) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const auto length = static_cast<size_t>(
            send(LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < buffer.size() || buffer.size() >= 65536) return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 4);
    }
}

void CListCtrlEx::SetItemText(int row, int column, const std::wstring& text) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    send(LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

CListCtrlEx::ItemData* CListCtrlEx::rowRecord(int row) const {
    if (!hwnd() || !validRow(row)) return nullptr;
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) || !item.lParam) return nullptr;
    // Only records of this grid count: an owner may have put other data there.
    for (const auto& record : rowRecords)
        if (reinterpret_cast<LPARAM>(record.get()) == item.lParam) return record.get();
    return nullptr;
}

int CListCtrlEx::rowOfRecord(const ItemData* record) const {
    if (!record) return -1;
    LVFINDINFOW find{};
    find.flags = LVFI_PARAM;
    find.lParam = reinterpret_cast<LPARAM>(record);
    return static_cast<int>(send(LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

void CListCtrlEx::EnsureItemData(int row) {
    if (!validRow(row)) return;
    ItemData* record = rowRecord(row);
    if (record) {
        record->userData = 0;
    } else {
        rowRecords.push_back(std::make_unique<ItemData>());
        record = rowRecords.back().get();
    }
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = reinterpret_cast<LPARAM>(record);
    send(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

int CListCtrlEx::DeleteItemData(int row) {
    if (!validRow(row)) return 0;
    ItemData* record = rowRecord(row);
    if (!record) return 1;
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    send(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));  // no pointer to a deleted record stays
    rowRecords.erase(std::find_if(rowRecords.begin(), rowRecords.end(),
                                  [record](const auto& owned) { return owned.get() == record; }));
    return 1;
}

ColumnInfo* CListCtrlEx::findColumnInfo(int column) const {
    for (const auto& info : columnInfos)
        if (info->column == column) return info.get();
    return nullptr;
}

ColumnInfo* CListCtrlEx::columnInfo(int column) {
    if (ColumnInfo* found = findColumnInfo(column)) return found;
    columnInfos.push_back(std::make_unique<ColumnInfo>());
    columnInfos.back()->column = column;
    return columnInfos.back().get();
}

void CListCtrlEx::SetColumnEditor(int column, BeginEditCallback beginEdit, EndEditCallback endEdit,
                                  halyard::Window* editor) {
    ColumnInfo* info = columnInfo(column);
    info->beginEdit = beginEdit;
    info->endEdit = endEdit;
    info->editor = editor;
}

void CListCtrlEx::SetColumnReadOnly(int column) {
    if (column < GetColumnCount()) columnInfo(column)->readOnly = TRUE;
}

BOOL CListCtrlEx::DeleteAllItemsAndColumns() {
    EndEdit(kDiscardEdit);
    const bool deleted = send(LVM_DELETEALLITEMS) != 0;
    if (!deleted) {
        for (int row = 0; row < rowCount(); ++row) DeleteItemData(row);
    }
    rowRecords.clear();
    if (!deleted) return FALSE;
    while (GetColumnCount() > 0)
        if (!send(LVM_DELETECOLUMN, 0)) break;
    return GetColumnCount() == 0 ? TRUE : FALSE;
}

CListCtrlEx::Colours CListCtrlEx::cellColours(int row, int column) const {
    const ItemData* record = rowRecord(row);
    const CellInfo* cell = record ? record->findCell(column) : nullptr;
    const ColumnInfo* info = findColumnInfo(column);
    const COLORREF backs[] = {cell ? cell->backColor : kColourNotSet,
                              record ? record->backColor : kColourNotSet,
                              info ? info->backColor : kColourNotSet};
    const COLORREF texts[] = {cell ? cell->textColor : kColourNotSet,
                              record ? record->textColor : kColourNotSet,
                              info ? info->textColor : kColourNotSet};
    for (int level = 0; level < 3; ++level) {
        if (backs[level] == kColourNotSet && texts[level] == kColourNotSet) continue;
        return {backs[level] != kColourNotSet ? backs[level] : defaultBackColor,
                texts[level] != kColourNotSet ? texts[level] : defaultTextColor};
    }
    return {defaultBackColor, defaultTextColor};
}

COLORREF CListCtrlEx::cellBackground(int row, int column) {
    return cellColours(row, column).back;
}

COLORREF CListCtrlEx::cellTextColour(int row, int column) {
    return cellColours(row, column).text;
}

bool CListCtrlEx::reflectNotify(NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != hwnd()) return false;
    if (header.code == NM_DBLCLK) {
        const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
        BeginEdit(click.iItem, click.iSubItem);
        result = 0;
        return true;
    }
    if (header.code == LVN_COLUMNCLICK) {
        SortByColumn(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem, TRUE);
        result = 0;
        return true;
    }
    return ListCtrl::reflectNotify(header, result);
}

// In-place editing of the grid: which settings govern a cell, opening the editor over it,
// ending the edit, and the keyboard (Tab navigation, Delete, accelerators).
#include "widgets/list_ctrl_ex.h"

namespace {

constexpr int kEditorMargin = 4;  // the editor stays this far inside the list's right edge

bool isInside(HWND window, HWND ancestor) {
    for (HWND at = window; at; at = GetParent(at))
        if (at == ancestor) return true;
    return false;
}

}  // namespace

bool CListCtrlEx::isReadOnly(int row, int column) const {
    const ColumnInfo* info = findColumnInfo(column);
    const ItemData* record = rowRecord(row);
    const CellInfo* cell = record ? record->findCell(column) : nullptr;
    return (info && info->readOnly) || (record && record->rowSettings.readOnly) || (cell && cell->readOnly);
}

EditorSettings* CListCtrlEx::governingSettings(int row, int column) {
    EditorSettings* settings = &defaultSettings;
    bool locked = false;
    if (ColumnInfo* info = findColumnInfo(column)) {
        locked = info->readOnly;
        if (!locked && info->hasEditor()) settings = info;
    }
    ItemData* record = rowRecord(row);
    if (record) {
        locked = locked || record->rowSettings.readOnly;
        if (!locked && record->rowSettings.hasEditor()) settings = &record->rowSettings;
    }
    CellInfo* cell = record ? record->findCell(column) : nullptr;
    if (cell) {
        if (locked || cell->readOnly) return nullptr;
        if (cell->hasEditor()) settings = cell;
    } else if (locked) {
        return nullptr;
    }
    return settings->hasEditor() && !settings->readOnly ? settings : nullptr;
}

RECT CListCtrlEx::showCell(int row, int column) {
    send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    auto cellRect = [&] {
        RECT cell{LVIR_LABEL, column, 0, 0};
        send(LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
        return cell;
    };
    RECT cell = cellRect();
    const int width = clientWidth();
    if (cell.right > width) {
        const int by = cell.right - cell.left > width ? cell.left : cell.right - width;
        send(LVM_SCROLL, static_cast<WPARAM>(by), 0);
    }
    if (cell.left < 0) send(LVM_SCROLL, static_cast<WPARAM>(cell.left), 0);
    cell = cellRect();
    if (cell.right > width - kEditorMargin) cell.right = width - kEditorMargin;
    return cell;
}

BOOL CListCtrlEx::BeginEdit(int row, int column) {
    if (!hwnd()) return FALSE;
    const ItemData* record = rowRecord(row);
    EndEdit(kStoreEdit);  // an edit in progress is stored first; that may have re-sorted the rows
    if (record) row = rowOfRecord(record);
    if (!validRow(row) || column < 0 || column >= GetColumnCount() || isReadOnly(row, column)) return FALSE;
    const RECT cell = showCell(row, column);
    activeSettings = governingSettings(row, column);
    if (!activeSettings) return FALSE;
    editRow = navRow = row;
    editColumn = navColumn = column;

    std::wstring text = GetItemText(row, column);
    const ItemData* current = rowRecord(row);
    if (activeSettings->beginEdit)
        activeSettings->beginEdit(&activeSettings->editor, row, column, &text,
                                  current ? current->userData : 0, this, kStoreEdit);
    halyard::Window* editor = activeSettings->editor;
    if (!editor || !editor->hwnd()) {
        activeSettings = nullptr;  // a begin callback alone did all the work
        return FALSE;
    }
    LVITEMW unselect{};
    unselect.stateMask = LVIS_SELECTED;
    send(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&unselect));
    if (!activeSettings->beginEdit) editor->setText(text);

    HWND window = editor->hwnd();
    SetParent(window, hwnd());
    SetWindowPos(window, HWND_TOP, cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top,
                 SWP_SHOWWINDOW);
    ShowWindow(window, SW_SHOW);
    SetFocus(window);
    hook.enter(window, hwnd());
    return TRUE;
}

void CListCtrlEx::EndEdit(int store) {
    std::lock_guard<std::recursive_mutex> hold(lock);
    if (!hook.leave()) return;  // no edit in progress, or a nested call while this one ends
    EditorSettings* settings = activeSettings;
    if (!settings || !settings->editor) return;
    activeSettings = nullptr;
    if (HWND window = settings->editor->hwnd()) ShowWindow(window, SW_HIDE);

    std::wstring text;
    DWORD_PTR userData = 0;
    const bool rowValid = validRow(editRow) && editColumn >= 0 && editColumn < GetColumnCount();
    if (rowValid) {
        text = GetItemText(editRow, editColumn);
        if (const ItemData* record = rowRecord(editRow)) userData = record->userData;
    } else {
        store = kDiscardEdit;
    }
    if (settings->endEdit) {
        store = settings->endEdit(&settings->editor, editRow, editColumn, &text, userData, this, store);
    } else if (settings->editor) {
        text = settings->editor->text();
    }
    if (!rowValid) return;
    if (store != kDiscardEdit) SetItemText(editRow, editColumn, text);
    send(LVM_UPDATE, static_cast<WPARAM>(editRow));
    if (store == kStoreEditAndSort) SortByColumn(editColumn, FALSE);
}

bool CListCtrlEx::preTranslateMessage(MSG& message) {
    if (!hwnd()) return false;
    if (accelerators && GetFocus() == hwnd() && TranslateAcceleratorW(parent(), accelerators, &message))
        return true;
    if (message.message != WM_KEYDOWN) return false;
    if (message.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) return handleTab(message);
    if (message.wParam == VK_DELETE && deleteKeyEnabled && message.hwnd == hwnd()) {
        deleteSelectedRows();
        return true;
    }
    return false;
}

bool CListCtrlEx::handleTab(const MSG& message) {
    if (hook.entered() && isInside(message.hwnd, hook.editor)) {
        // The grid itself moves on, as if the key had been pressed on it.
        PostMessageW(hwnd(), message.message, message.wParam, message.lParam);
        return true;
    }
    if (message.hwnd != hwnd()) return false;
    const bool back = GetKeyState(VK_SHIFT) < 0;
    const int step = back ? -1 : 1;
    int rows = rowCount();
    const int columns = GetColumnCount();
    if (!back && rows == 0) {
        if (!OnAppendRow()) return false;
        rows = rowCount();
        navColumn = 0;
    }
    if (rows <= 0 || columns <= 0) return false;
    // Every cell is tried at most once per pass; rows appended on the way extend the pass.
    for (int tries = 0; tries <= (rows + 1) * columns; ++tries) {
        if (navRow < 0 || navRow >= rows || navColumn < 0 || navColumn >= columns) {
            navRow = back ? rows - 1 : 0;
            navColumn = back ? columns - 1 : 0;
        } else {
            navColumn += step;
            if (navColumn < 0 || navColumn >= columns) {
                navRow += step;
                navColumn = back ? columns - 1 : 0;
            }
        }
        if (appendOnTab && navRow >= rows) {
            EndEdit(kStoreEdit);
            if (!OnAppendRow()) return true;
            rows = rowCount();
            navColumn = 0;
        }
        if (navRow >= rows || navRow < 0) return false;
        if (BeginEdit(navRow, navColumn)) return true;
    }
    return false;
}

void CListCtrlEx::deleteSelectedRows() {
    for (int row = firstSelected(); row >= 0; row = firstSelected()) {
        DeleteItemData(row);
        if (!send(LVM_DELETEITEM, static_cast<WPARAM>(row))) break;
    }
}

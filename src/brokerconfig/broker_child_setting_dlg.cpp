#include "brokerconfig/broker_child_setting_dlg.h"

#include <iterator>

#include "brokerconfig/broker_config.h"
#include "brokerconfig/broker_config_file.h"
#include "brokerconfig/column_names.h"
#include "common/c_format.h"
#include "common/text_encoding.h"
#include "res/resource.h"

namespace {

constexpr int kColumnWidth = 100;
constexpr DWORD kGridStyles = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;

struct ModeLayout {
    const wchar_t* title;
    const wchar_t* columns[3];
};

// In the order of CBrokerChildSetting::Mode.
const ModeLayout kModes[] = {
    {L"设置按钮位置", {L"按钮名称", L"按钮坐标X", L"按钮坐标Y"}},
    {L"设置持仓表对应", {L"券商仓位表列名", L"助手对应列名", nullptr}},
    {L"设置委托表对应", {L"券商委托表列名", L"助手对应列名", nullptr}},
};

const ModeLayout& layoutOf(CBrokerChildSetting::Mode mode) {
    return kModes[static_cast<size_t>(mode)];
}

// Leading blanks, an optional sign and the digits up to the first other character; 0 without
// digits, clamped to 32 bits (as the file's coordinates are read).
int32_t coordinateOf(const std::wstring& text) {
    return scanCoordinate(halyard::toUtf8(text).c_str());
}

int comboSelection(const halyard::Window& combo) {
    return static_cast<int>(combo.send(CB_GETCURSEL));
}

std::wstring comboEntry(const halyard::Window& combo, int index) {
    const auto length = combo.send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length == CB_ERR) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    combo.send(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

}  // namespace

CBrokerChildSetting::CBrokerChildSetting(HWND parent) : halyard::Dialog(IDD_BROKER_CHILD_SETTING, parent) {}

void CBrokerChildSetting::doDataExchange(halyard::DataExchange& exchange) {
    // Controls are bound once; later exchanges find them bound already.
    grid.attach(exchange.dialog(), IDC_GRID);
    ownNameCombo.attach(exchange.dialog(), IDC_OWN_NAME_COMBO);
    textEditor.attach(exchange.dialog(), IDC_TEXT_EDITOR);
}

bool CBrokerChildSetting::onInitDialog() {
    halyard::Dialog::onInitDialog();
    if (static_cast<size_t>(editMode) >= std::size(kModes)) editMode = Mode::ButtonPositions;
    SetWindowTextW(hwnd(), layoutOf(editMode).title);
    if (editMode == Mode::ButtonPositions) {
        ShowWindow(item(IDC_ADD_ROW), SW_HIDE);
        ShowWindow(item(IDC_DELETE_ROW), SW_HIDE);
    }
    grid.DeleteAllItemsAndColumns();
    insertColumns();
    if (editMode == Mode::ButtonPositions)
        grid.SetColumnReadOnly(0);
    else
        grid.SetColumnEditor(1, beginOwnNameEdit, endOwnNameEdit, &ownNameCombo);
    grid.defaultSettings.editor = &textEditor;
    grid.defaultSettings.beginEdit = nullptr;
    grid.defaultSettings.endEdit = nullptr;
    fillRows();
    grid.setExtendedStyle(kGridStyles);
    return true;
}

void CBrokerChildSetting::insertColumns() {
    int index = 0;
    for (const wchar_t* title : layoutOf(editMode).columns)
        if (title) grid.insertColumn(index++, title, LVCFMT_LEFT, kColumnWidth);
}

void CBrokerChildSetting::appendRow(const std::wstring& first, const std::wstring& second,
                                    const std::wstring* third) {
    const int row = grid.insertItem(grid.itemCount(), first);
    if (row < 0) return;
    grid.EnsureItemData(row);
    grid.SetItemText(row, 1, second);
    if (third) grid.SetItemText(row, 2, *third);
}

void CBrokerChildSetting::fillRows() {
    if (editMode != Mode::ButtonPositions) {
        ownNameCombo.send(CB_RESETCONTENT);
        ownNameCombo.send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L""));
        for (const std::wstring& name :
             editMode == Mode::PositionColumns ? ownPositionColumnNames() : ownCommitColumnNames())
            ownNameCombo.send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    if (!editedConfig) return;
    if (editMode == Mode::ButtonPositions) {
        for (const ButtonPosition& position : editedConfig->buttonPositionList()) {
            const std::wstring y = halyard::wcformat("%d", position.y);
            appendRow(position.name, halyard::wcformat("%d", position.x), &y);
        }
        return;
    }
    const StringList& titles =
        editMode == Mode::PositionColumns ? editedConfig->positionTitles() : editedConfig->commitTitles();
    const StringList& ownNames =
        editMode == Mode::PositionColumns ? editedConfig->positionOwnNames() : editedConfig->commitOwnNames();
    for (size_t i = 0; i < titles.size(); ++i) appendRow(titles[i], i < ownNames.size() ? ownNames[i] : L"");
}

int CBrokerChildSetting::beginOwnNameEdit(halyard::Window** editor, int, int, std::wstring* text, DWORD_PTR,
                                          CListCtrlEx*, int) {
    if (!editor || !*editor || !text) return 0;
    halyard::Window& combo = **editor;
    // An empty cell is the unused column (entry 0); a prefix search for "" would pick the first
    // own name instead. A text that matches nothing leaves no selection, so that closing the
    // combo does not write the previous cell's choice here.
    if (text->empty() || combo.send(CB_SELECTSTRING, 0, reinterpret_cast<LPARAM>(text->c_str())) == CB_ERR)
        combo.send(CB_SETCURSEL, text->empty() ? 0 : static_cast<WPARAM>(-1));
    return 0;
}

int CBrokerChildSetting::endOwnNameEdit(halyard::Window** editor, int, int, std::wstring* text, DWORD_PTR,
                                        CListCtrlEx*, int flag) {
    if (flag == kDiscardEdit || !editor || !*editor || !text) return kDiscardEdit;
    const int selected = comboSelection(**editor);
    if (selected < 0) return kDiscardEdit;
    *text = comboEntry(**editor, selected);
    return kStoreEdit;
}

bool CBrokerChildSetting::onCommand(int id, int code, HWND control) {
    if (code == BN_CLICKED && id == IDC_ADD_ROW && editMode != Mode::ButtonPositions) {
        OnBnClickedAddRow();
        return true;
    }
    if (code == BN_CLICKED && id == IDC_DELETE_ROW && editMode != Mode::ButtonPositions) {
        OnBnClickedDeleteRow();
        return true;
    }
    return halyard::Dialog::onCommand(id, code, control);
}

void CBrokerChildSetting::OnBnClickedAddRow() {
    appendRow(L"输入列名", L"");
    grid.redrawAll();
}

void CBrokerChildSetting::OnBnClickedDeleteRow() {
    const int row = grid.firstSelected();
    if (row < 0) return;
    grid.EndEdit(kDiscardEdit);
    grid.DeleteItemData(row);
    grid.send(LVM_DELETEITEM, static_cast<WPARAM>(row));
    grid.redrawAll();
}

void CBrokerChildSetting::onOK() {
    grid.EndEdit(kStoreEdit);  // the text being typed counts
    if (editedConfig) changed = editMode == Mode::ButtonPositions ? storeButtonPositions() : storeColumnMap();
    endDialog(IDOK);
}

bool CBrokerChildSetting::storeButtonPositions() {
    std::vector<ButtonPosition> positions;
    for (int row = 0; row < grid.itemCount(); ++row)
        positions.push_back({grid.GetItemText(row, 0), coordinateOf(grid.GetItemText(row, 1)),
                             coordinateOf(grid.GetItemText(row, 2))});
    if (positions == editedConfig->buttonPositionList()) return false;
    editedConfig->setButtonPositions(std::move(positions));
    return true;
}

bool CBrokerChildSetting::storeColumnMap() {
    StringList titles, ownNames;
    for (int row = 0; row < grid.itemCount(); ++row) {
        titles.push_back(grid.GetItemText(row, 0));
        ownNames.push_back(grid.GetItemText(row, 1));
    }
    const bool positions = editMode == Mode::PositionColumns;
    const StringList& oldTitles = positions ? editedConfig->positionTitles() : editedConfig->commitTitles();
    const StringList& oldNames =
        positions ? editedConfig->positionOwnNames() : editedConfig->commitOwnNames();
    if (titles == oldTitles && ownNames == oldNames) return false;
    if (positions)
        editedConfig->setPositionColumns(std::move(titles), std::move(ownNames));
    else
        editedConfig->setCommitColumns(std::move(titles), std::move(ownNames));
    return true;
}

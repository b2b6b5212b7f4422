// The user's commands on positions: 全平 and 全撤 after their question, the context menu of a row
// and the rule editor opened by a double-click; the session carries them out.
#include <windows.h>

#include <commctrl.h>

#include "app/keelson_dlg.h"
#include "broker/position_snapshot_store.h"
#include "common/unique_handle.h"
#include "framework/application.h"
#include "framework/message_box.h"
#include "res/resource.h"
#include "rules/rule_editor_dlg.h"

namespace {

constexpr UINT kCommandStepMs = 500;

bool validRow(int row, const PositionRows& rows) {
    return row >= 0 && static_cast<size_t>(row) < rows.size();
}

}  // namespace

void CKeelsonDlg::closeAll() {
    // A second press while a command runs does nothing.
    if (session_.commandRunning()) return;
    if (halyard::showMessageBox(hwnd(), L"确定要全部平仓?", MB_OKCANCEL) != IDOK) return;
    // A command still running after its first step goes on from the timer.
    if (session_.closeAll()) SetTimer(hwnd(), kCommandTimer, kCommandStepMs, nullptr);
}

void CKeelsonDlg::cancelAll() {
    if (session_.commandRunning()) return;
    if (halyard::showMessageBox(hwnd(), L"确定要全部撤单(卖出单)?", MB_OKCANCEL) != IDOK) return;
    if (session_.cancelAll()) SetTimer(hwnd(), kCommandTimer, kCommandStepMs, nullptr);
}

void CKeelsonDlg::stepCommand() {
    if (!session_.stepCommand()) KillTimer(hwnd(), kCommandTimer);
}

void CKeelsonDlg::showContextMenu(const NMITEMACTIVATE& click) {
    contextRow = click.iItem;
    const PositionRows rows = PositionSnapshotStore::instance()->copyPositionRows();
    if (!validRow(contextRow, rows) || rows[static_cast<size_t>(contextRow)].sellableQuantity <= 0) return;
    halyard::UniqueMenu menu(
        LoadMenuW(halyard::Application::resourceInstance(), MAKEINTRESOURCEW(IDR_POSITION_MENU)));
    HMENU popup = menu ? GetSubMenu(menu.get(), 0) : nullptr;
    if (!popup) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, hwnd(), nullptr);
}

void CKeelsonDlg::editRule() {
    const int selected = positionList_.firstSelected();
    if (selected < 0) return;
    const PositionRows rows = PositionSnapshotStore::instance()->copyPositionRows();
    if (!validRow(selected, rows)) return;
    const PositionRow row = rows[static_cast<size_t>(selected)];

    CPriceSettingDLg editor(hwnd());
    editor.title = row.name + L" 止盈止损设置";
    editor.setFields(prefillRuleEditorFields(session_.rules(), row.code));
    if (editor.doModal() != IDOK) return;
    session_.storeEditedRule(row.code, editor.fields(), row.currentPrice);
}

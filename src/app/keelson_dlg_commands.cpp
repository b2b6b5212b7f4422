// The user's commands on positions: 全平, 全撤, the context menu's +5 % test sale and the rule
// editor opened by a double-click. 全平 and 全撤 sum up what they did; the journal keeps the rest.
#include <windows.h>

#include <commctrl.h>

#include <cmath>
#include <memory>

#include "app/keelson_dlg.h"
#include "broker/client_contact.h"
#include "broker/order_direction.h"
#include "broker/order_executor.h"
#include "broker/position_snapshot_store.h"
#include "common/unique_handle.h"
#include "framework/application.h"
#include "framework/message_box.h"
#include "res/resource.h"
#include "rules/cancel_all_run.h"
#include "rules/close_all_run.h"
#include "rules/rule_editor_dlg.h"
#include "rules/rule_editor_fields.h"
#include "rules/test_sale_price.h"

namespace {

bool validRow(int row, const PositionRows& rows) {
    return row >= 0 && static_cast<size_t>(row) < rows.size();
}

}  // namespace

void CKeelsonDlg::journalClientNotices() {
    if (auto* contact = dynamic_cast<ClientContact*>(&executor()))
        for (const std::wstring& notice : contact->takeClientNotices()) journal_.note(notice);
}

void CKeelsonDlg::afterCommand() {
    executor().refreshPositions();
    refreshList();
    positionList_.invalidate(true);
}

bool CKeelsonDlg::priceReadable(const PositionRow& row, std::vector<std::wstring>& refused) {
    if (row.currentPrice > 0.0f && std::isfinite(row.currentPrice)) return true;
    refused.push_back(row.code + L" " + row.name);
    journal_.note(L"卖出 " + row.code + L" " + row.name + L" 当前价无法读取, 未提交");
    return false;
}

void CKeelsonDlg::showRefusedRows(const std::vector<std::wstring>& refused) {
    if (refused.empty()) return;
    std::wstring text = L"以下股票的当前价无法读取, 没有卖出:";
    for (const std::wstring& row : refused) text += L"\n" + row;
    halyard::showMessageBox(hwnd(), text, MB_OK);
}

namespace {

constexpr UINT kCommandStepMs = 500;

}  // namespace

void CKeelsonDlg::closeAll() {
    // A second press while a command runs does nothing.
    if (commandRun_) return;
    if (halyard::showMessageBox(hwnd(), L"确定要全部平仓?", MB_OKCANCEL) != IDOK) return;
    startCommand(std::make_unique<CloseAllRun>(*PositionSnapshotStore::instance(), &journal_,
                                               dynamic_cast<ClientContact*>(&executor())));
}

void CKeelsonDlg::cancelAll() {
    if (commandRun_) return;
    if (halyard::showMessageBox(hwnd(), L"确定要全部撤单(卖出单)?", MB_OKCANCEL) != IDOK) return;
    startCommand(std::make_unique<CancelAllRun>(*PositionSnapshotStore::instance(), &journal_,
                                                dynamic_cast<ClientContact*>(&executor())));
}

void CKeelsonDlg::startCommand(std::unique_ptr<CommandRun> run) {
    if (commandRun_) return;  // one came in while the question was open
    commandRun_ = std::move(run);
    showStatusLine(commandRun_->statusText());
    SetTimer(hwnd(), kCommandTimer, kCommandStepMs, nullptr);
    stepCommand();
}

void CKeelsonDlg::stepCommand() {
    // A sale never starts inside a monitor cycle or another sale (executor calls pump messages).
    if (!commandRun_ || cycleRunning_ || detectionRunning()) return;
    cycleRunning_ = true;
    const bool more = commandRun_->step(executor());
    cycleRunning_ = false;
    if (more) {
        showStatusLine(commandRun_->statusText());
        return;
    }
    KillTimer(hwnd(), kCommandTimer);
    const std::wstring summary = commandRun_->summaryText();
    commandRun_.reset();
    showContactStatus(shownStatus_);
    afterCommand();
    halyard::showMessageBox(hwnd(), summary, MB_OK);
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

void CKeelsonDlg::sellContextRowAtTestPrice() {
    const PositionRows rows = PositionSnapshotStore::instance()->copyPositionRows();
    if (!validRow(contextRow, rows)) return;
    const PositionRow& row = rows[static_cast<size_t>(contextRow)];
    std::vector<std::wstring> refused;
    if (!priceReadable(row, refused)) {
        showRefusedRows(refused);
        return;
    }
    const float price = testSalePrice(row.currentPrice);
    const int32_t result = executor().sell(row.code.c_str(), row.sellableQuantity, price, 0.0f);
    journal_.sale(row.code, row.name, price, row.sellableQuantity, result);
    journalClientNotices();
    afterCommand();
}

void CKeelsonDlg::cancelContextRowOrder() {
    const PositionRows rows = PositionSnapshotStore::instance()->copyPositionRows();
    if (!validRow(contextRow, rows)) return;
    const PositionRow& row = rows[static_cast<size_t>(contextRow)];
    const bool cancelled = executor().cancelOrder(row.code.c_str(), kSellDirection);
    journal_.cancellation(row.code, row.name, 0, cancelled);
    refreshList();
    positionList_.invalidate(true);
}

void CKeelsonDlg::editRule() {
    const int selected = positionList_.firstSelected();
    if (selected < 0) return;
    const PositionRows rows = PositionSnapshotStore::instance()->copyPositionRows();
    if (!validRow(selected, rows)) return;
    const PositionRow row = rows[static_cast<size_t>(selected)];

    CPriceSettingDLg editor(hwnd());
    editor.title = row.name + L" 止盈止损设置";
    editor.setFields(prefillRuleEditorFields(rules, row.code));
    if (editor.doModal() != IDOK) return;
    storeRuleEditorFields(rules, row.code, editor.fields(), row.currentPrice);
    ruleSaver_.userChanged(rules, environment_.tickMs());
    positionList_.invalidate(true);
}

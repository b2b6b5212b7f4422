// The investor's commands on positions: 全平 and 全撤 in steps, the +5 % test sale, the cancel of
// a row's sell order and an edited rule. Each sums up or refreshes the list once it is over.
#include <cmath>

#include "broker/client_contact.h"
#include "broker/order_direction.h"
#include "broker/order_executor.h"
#include "broker/position_snapshot_store.h"
#include "rules/cancel_all_run.h"
#include "rules/close_all_run.h"
#include "rules/monitor_session.h"
#include "rules/test_sale_price.h"

bool MonitorSession::closeAll() {
    return startCommand(std::make_unique<CloseAllRun>(store_, &journal_, contact()));
}

bool MonitorSession::cancelAll() {
    return startCommand(std::make_unique<CancelAllRun>(store_, &journal_, contact()));
}

bool MonitorSession::startCommand(std::unique_ptr<CommandRun> run) {
    if (commandRun_) return false;
    commandRun_ = std::move(run);
    view_.showStatusLine(commandRun_->statusText());
    return stepCommand();
}

bool MonitorSession::stepCommand() {
    if (!commandRun_) return false;
    // A sale never starts inside a monitor cycle or another sale (executor calls pump messages).
    if (busy()) return true;
    inCycle_ = true;
    const bool more = commandRun_->step(executor_);
    inCycle_ = false;
    if (more) {
        view_.showStatusLine(commandRun_->statusText());
        return true;
    }
    const std::wstring summary = commandRun_->summaryText();
    commandRun_.reset();
    showContact(shownStatus_);
    afterCommand();
    queue(Request::Kind::Message, summary);
    handOver();
    return false;
}

void MonitorSession::afterCommand() {
    executor_.refreshPositions();
    queue(Request::Kind::RefreshList);
    queue(Request::Kind::RepaintList);
}

// A row whose price could not be read is refused: the order would go out at whatever the
// client's form holds.
bool MonitorSession::priceReadable(const PositionRow& row) {
    if (row.currentPrice > 0.0f && std::isfinite(row.currentPrice)) return true;
    journal_.note(L"卖出 " + row.code + L" " + row.name + L" 当前价无法读取, 未提交");
    queue(Request::Kind::Message, L"以下股票的当前价无法读取, 没有卖出:\n" + row.code + L" " + row.name);
    return false;
}

void MonitorSession::sellAtTestPrice(std::size_t index) {
    const PositionRows rows = store_.copyPositionRows();
    if (index >= rows.size()) return;
    const PositionRow& row = rows[index];
    if (priceReadable(row)) {
        const float price = testSalePrice(row.currentPrice);
        const int32_t result = executor_.sell(row.code.c_str(), row.sellableQuantity, price, 0.0f);
        journal_.sale(row.code, row.name, price, row.sellableQuantity, result);
        if (ClientContact* client = contact())
            for (const std::wstring& notice : client->takeClientNotices()) journal_.note(notice);
        afterCommand();
    }
    handOver();
}

void MonitorSession::cancelSellOrderOf(std::size_t index) {
    const PositionRows rows = store_.copyPositionRows();
    if (index >= rows.size()) return;
    const PositionRow& row = rows[index];
    const bool cancelled = executor_.cancelOrder(row.code.c_str(), kSellDirection);
    journal_.cancellation(row.code, row.name, 0, cancelled);
    queue(Request::Kind::RefreshList);
    queue(Request::Kind::RepaintList);
    handOver();
}

void MonitorSession::storeEditedRule(const std::wstring& code, const RuleEditorFields& fields,
                                     float currentPrice) {
    storeRuleEditorFields(rules_, code, fields, currentPrice);
    ruleSaver_.userChanged(rules_, outside_.tickMs());
    queue(Request::Kind::RepaintList);
    handOver();
}

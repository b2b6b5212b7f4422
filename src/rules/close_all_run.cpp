#include "rules/close_all_run.h"

#include <algorithm>
#include <cmath>

#include "broker/client_contact.h"
#include "broker/order_executor.h"
#include "broker/position_cells.h"
#include "common/c_format.h"
#include "rules/monitor_cycle.h"
#include "rules/trade_journal.h"

namespace {

// The executor holds back a sale for 3 s after the previous one; steps come every half second
// or so. A sale still held back after this many steps is given up rather than tried for ever.
constexpr int kMostHeldBackSteps = 40;
constexpr int32_t kHeldBack = -2;

std::wstring stockOf(const PositionRow& row) {
    return row.code + L" " + row.name;
}

// Why a row with shares to sell cannot be sold as read; empty when it can.
std::wstring unsellableReason(const PositionRow& row) {
    if (row.unreadableCells & kSellableQuantityCell) return L"可卖数量无法读取";
    if (row.sellableQuantity <= 0) return std::wstring();
    if ((row.unreadableCells & kCurrentPriceCell) || !(row.currentPrice > 0.0f) ||
        !std::isfinite(row.currentPrice))
        return L"当前价无法读取";
    return std::wstring();
}

}  // namespace

CloseAllRun::CloseAllRun(PositionSnapshotStore& store, TradeJournal* journal, ClientContact* contact)
    : store_(store), read_(store.positionsGeneration()), journal_(journal), contact_(contact) {}

bool CloseAllRun::readPositions(OrderExecutor& executor) {
    executor.refreshPositions();
    if (read_.done(store_.positionsGeneration())) {
        rowsTaken_ = true;
        takeRows(store_.copyPositionRows());
        return !finished();
    }
    if (read_.keepWaiting()) return true;
    rowsTaken_ = true;
    notRead_ = true;
    if (journal_) journal_->note(L"全平: 读不到持仓列表, 没有卖出");
    return false;
}

void CloseAllRun::takeRows(const PositionRows& rows) {
    for (const PositionRow& row : rows) {
        const std::wstring reason = unsellableReason(row);
        if (!reason.empty()) {
            outcomes_.push_back({stockOf(row), reason});
            if (journal_) journal_->note(L"卖出 " + stockOf(row) + L" " + reason + L", 未提交");
        } else if (row.sellableQuantity > 0) {
            toSell_.push_back(row);
        }
    }
}

bool CloseAllRun::step(OrderExecutor& executor) {
    if (!rowsTaken_) return readPositions(executor);
    if (finished()) return false;
    const PositionRow& row = toSell_[next_];
    journalNotices();  // what the client said before the press is no answer to this sale
    const int32_t result = executor.sell(row.code.c_str(), row.sellableQuantity, row.currentPrice, 0.0f);
    if (result == kHeldBack && ++heldBack_ < kMostHeldBackSteps) return true;
    if (journal_) journal_->sale(row.code, row.name, row.currentPrice, row.sellableQuantity, result);
    const std::vector<std::wstring> notices = journalNotices();
    const auto refusal = std::find_if(notices.begin(), notices.end(), noticeRefusesOrder);
    std::wstring why;
    if (result == kHeldBack)
        why = L"下单一直被间隔限制挡住";
    else if (result != 1)
        why = executor.lastErrorText();
    else if (refusal != notices.end())
        why = L"被券商拒绝: " + *refusal;
    if (result == 1 && !why.empty() && journal_) journal_->note(L"卖出 " + stockOf(row) + L" 被券商拒绝");
    finish(row, std::move(why));
    return !finished();
}

void CloseAllRun::finish(const PositionRow& row, std::wstring why) {
    outcomes_.push_back(
        {stockOf(row) + L" " + halyard::wcformat("%d", row.sellableQuantity) + L"股", std::move(why)});
    ++next_;
    heldBack_ = 0;
}

std::vector<std::wstring> CloseAllRun::journalNotices() {
    if (!contact_) return {};
    std::vector<std::wstring> notices = contact_->takeClientNotices();
    if (journal_)
        for (const std::wstring& notice : notices) journal_->note(notice);
    return notices;
}

std::wstring CloseAllRun::statusText() const {
    if (!rowsTaken_) return L"全平: 正在读取持仓 ...";
    if (finished()) return L"全平: 已结束";
    return L"全平: " +
           halyard::wcformat("%d/%d", static_cast<int>(next_ + 1), static_cast<int>(toSell_.size())) +
           L" 正在卖出 " + stockOf(toSell_[next_]) + L" ...";
}

std::wstring CloseAllRun::summaryText() const {
    if (notRead_) return L"全平: 读不到券商软件的持仓列表, 没有卖出任何股票";
    std::wstring submitted, refused;
    int submittedCount = 0, refusedCount = 0;
    for (const Outcome& outcome : outcomes_) {
        if (outcome.why.empty()) {
            submitted += L"\n" + outcome.stock;
            ++submittedCount;
        } else {
            refused += L"\n" + outcome.stock + L": " + outcome.why;
            ++refusedCount;
        }
    }
    std::wstring text = L"全平结束: " + halyard::wcformat("%d", submittedCount) + L" 笔已提交, " +
                        halyard::wcformat("%d", refusedCount) + L" 笔没有卖出";
    if (submittedCount) text += L"\n\n已提交 (成交请在券商软件中查看):" + submitted;
    if (refusedCount) text += L"\n\n没有卖出:" + refused;
    if (!submittedCount && !refusedCount) text = L"全平: 没有可卖的持仓";
    return text;
}

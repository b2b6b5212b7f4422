// 追单 of Halyard's own resting sell order. Its sale freezes the whole holding, so the cycle sees
// nothing sellable; while the rule still triggers and the order Halyard placed (the orders list
// shows it with its quantity unfilled) rests above the current price, it is cancelled and the
// shares sold again at the price the rule sells at now, at most every 3 s. An order at or below
// the current price can fill as it is (and at the limit-down price a lower one is refused). The
// orders list shows no prices: the price is the one Halyard typed. From 14:57 the exchanges take
// no cancels.
#include "broker/order_direction.h"
#include "broker/order_executor.h"
#include "broker/position_snapshot_store.h"
#include "common/c_format.h"
#include "rules/monitor_cycle.h"
#include "rules/trade_journal.h"

namespace {

constexpr uint32_t kChaseSpacingMs = 3000;

std::wstring priceText(float price) {
    return halyard::wcformat("%.3f", static_cast<double>(price));
}

}  // namespace

bool MonitorCycle::chaseOwnOrder(const PositionRow& row, const StockRule& rule, TriggerKind kind) {
    auto own = state_.ownSellOrders.find(row.code);
    if (rule.MessageOnly || own == state_.ownSellOrders.end()) return false;
    OwnSellOrder& order = own->second;
    const float price = triggerPrice(row, rule);
    const uint32_t now = environment_.tickMs();
    if (!(order.price > row.currentPrice) || (order.chased && now - order.lastChaseMs < kChaseSpacingMs))
        return false;
    order.chased = true;
    order.lastChaseMs = now;
    const float pending = executor_.pendingOrderQuantity(row.code.c_str(), kSellDirection);
    // Filled, partly filled or not Halyard's: nothing of it to chase.
    if (pending != static_cast<float>(order.quantity)) {
        state_.ownSellOrders.erase(own);
        return false;
    }
    if (cancelsClosed(environment_.localTime())) {
        const std::wstring tail = orderStays(row, order.quantity);
        if (!tail.empty())
            environment_.raiseMessageAlert(alertText(row.name, environment_.localTime(), kind, true) + tail);
        return false;
    }
    const int32_t quantity = order.quantity;
    note(L"追单 " + row.code + L" " + row.name + L": 之前的卖单价格 " + priceText(order.price) +
         L" 高于现在的卖价 " + priceText(price) + L", 撤单后重新卖出");
    const bool cancelled = executor_.cancelOrder(row.code.c_str(), kSellDirection);
    if (journal_) journal_->cancellation(row.code, row.name, quantity, cancelled);
    journalNotices();
    if (!cancelled) return false;
    executor_.refreshPositions();
    journalNotices();
    PositionRow again = row;
    again.sellableQuantity = sellableAfterCancel(row, quantity);
    if (again.sellableQuantity <= 0) {
        note(L"追单 " + row.code + L" " + row.name + L": 撤单后可卖数量为 0, 下次再卖");
        return false;
    }
    return alertAndSell(again, rule, kind, again.sellableQuantity, L"");
}

int32_t MonitorCycle::sellableAfterCancel(const PositionRow& row, int32_t cancelled) {
    if (store_.positionsGeneration() != state_.positionsGeneration) {
        const PositionsByCode fresh = store_.copyPositionsByCode();
        auto found = fresh.find(row.code);
        if (found != fresh.end() && found->second.sellableQuantity >= 0)
            return found->second.sellableQuantity;
    }
    // No fresh read (reads are spaced 3 s apart): the cancelled shares are sellable again.
    return row.sellableQuantity + cancelled;
}

std::wstring MonitorCycle::orderStays(const PositionRow& row, int32_t pending) {
    int& day = state_.orderKeptDay[row.code];
    if (day == today()) return {};
    day = today();
    note(L"追单 " + row.code + L" " + row.name + L": 14:57 后交易所不接受撤单, 之前的卖单 " +
         halyard::wcformat("%d", pending) + L" 股保留");
    return L", 14:57 后不能撤单, 之前的卖单保留";
}

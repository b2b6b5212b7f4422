#include "rules/monitor_cycle.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <optional>

#include "broker/order_direction.h"
#include "broker/order_executor.h"
#include "broker/position_snapshot_store.h"
#include "broker/result_codes.h"
#include "common/c_format.h"
#include "rules/trade_journal.h"
#include "rules/trigger_evaluation.h"

namespace {

constexpr int32_t kMostSlipUnits = 10;
constexpr const wchar_t* kCancelFailedAlertTail = L", 之前的卖单未能撤销";

// The executor answers quantities as floats; a garbage answer must not become a huge or
// undefined integer.
int32_t truncatedQuantity(float quantity) {
    if (!(quantity >= 1.0f)) return 0;
    if (quantity >= 2147483520.0f) return INT32_MAX;
    return static_cast<int32_t>(quantity);
}

const std::wstring& soundOf(const AlertOptions& settings, TriggerKind kind) {
    switch (kind) {
        case TriggerKind::TakeProfit:
            return settings.takeProfitSound;
        case TriggerKind::TrailingStop:
            return settings.moveStopLossSound;
        default:
            return settings.stopLossSound;
    }
}

std::vector<std::wstring> ruledCodes(const RuleTable& rules) {
    std::vector<std::wstring> codes;
    for (const auto& [code, rule] : rules) codes.push_back(code);
    return codes;
}

}  // namespace

uint32_t MonitorEnvironment::tickMs() {
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool withinTradingHours(const std::tm& localTime) {
    const int hour = localTime.tm_hour;
    const int minute = localTime.tm_min;
    if (hour != 9 && hour != 10 && hour != 11 && hour != 13 && hour != 14) return false;
    if (hour == 9 && minute < 15) return false;
    if (hour == 11 && minute > 30) return false;
    return true;
}

bool cancelsClosed(const std::tm& localTime) {
    return (localTime.tm_hour == 14 && localTime.tm_min >= 57) ||
           (localTime.tm_hour == 15 && localTime.tm_min == 0);
}

MonitorCycleResult MonitorCycle::run(RuleTable& rules, bool traceOrder) {
    MonitorCycleResult result;
    // Only the cycle at start-up runs outside trading hours: it reads and keeps the highs, but
    // an evening start must not sell at yesterday's close.
    const bool tradingHours = withinTradingHours(environment_.localTime());
    journalNotices();
    // While the client is out of reach no rule acts: the rows shown are the last good read.
    if (!keepInContact(tradingHours)) {
        const PositionRows shown = store_.copyPositionRows();
        result.positionCount = shown.size();
        environment_.positionsRead(shown.size());
        return result;
    }
    executor_.setRuledCodes(ruledCodes(rules));
    executor_.refreshPositions();
    journalNotices();
    const bool rowsRecent = watchReads(tradingHours);
    const PositionRows rows = store_.copyPositionRows();
    result.positionCount = rows.size();
    environment_.positionsRead(rows.size());
    const StockSightings sightingsBefore = state_.sightings;
    if (afterRead(rows)) {
        journalUnreadableCells(rows);
        if (forgetHighsOfStocksSold(rules, rows)) result.rulesChanged = true;
    }
    result.sightingsChanged = state_.sightings != sightingsBefore;
    if (rules.empty()) return result;
    // The rows of the last good read before a run of failed ones: no rule decides on them.
    if (!rowsRecent) return result;

    struct Chase {
        const PositionRow* row;
        StockRule* rule;
        TriggerKind kind;
    };
    std::vector<Chase> chases;
    bool firstSaleHeldBack = false;
    for (const PositionRow& row : rows) {
        auto found = rules.find(row.code);
        if (found == rules.end()) continue;
        // A rule is never decided on a 0 that stands for a cell that could not be read.
        if (!watchReadable(row, found->second, tradingHours)) continue;
        StockRule& rule = found->second;
        const float highBefore = rule.High;
        const bool armedBefore = rule.HasTrigerMoveStopPrice;
        const TriggerKind kind = evaluateRule(rule, row);
        if (rule.High != highBefore || rule.HasTrigerMoveStopPrice != armedBefore) result.rulesChanged = true;
        if (!tradingHours || kind == TriggerKind::None) continue;
        // An earlier sale of this stock that no read has shown yet: no second one on top.
        if (state_.pendingSales.count(row.code)) continue;
        if (row.sellableQuantity <= 0) {
            if (traceOrder) chases.push_back({&row, &rule, kind});
            continue;
        }
        const uint32_t salesBefore = heldBackSales_;
        if (act(row, rule, kind, traceOrder)) ++result.actions;
        firstSaleHeldBack = firstSaleHeldBack || heldBackSales_ != salesBefore;
    }
    // Re-pricing an order already in the client waits while a first sale of another stock was
    // held back by the spacing of orders: a chase every few seconds must not starve it.
    if (!firstSaleHeldBack)
        for (const Chase& chase : chases)
            if (chaseOwnOrder(*chase.row, *chase.rule, chase.kind)) ++result.actions;
    return result;
}

bool MonitorCycle::act(const PositionRow& row, const StockRule& rule, TriggerKind kind, bool traceOrder) {
    const bool messageOnly = rule.MessageOnly != 0;
    const int32_t pending =
        truncatedQuantity(executor_.pendingOrderQuantity(row.code.c_str(), kSellDirection));
    bool cancelFailed = false;
    int32_t sellableBefore = row.sellableQuantity;
    std::wstring tail;
    if (pending > 0) {
        // Without 追单 the earlier sell order is left to fill: no alert, no new order.
        if (!traceOrder) return false;
        if (!messageOnly && cancelsClosed(environment_.localTime())) {
            tail = orderStays(row, pending);
        } else if (!messageOnly) {
            const bool cancelled = executor_.cancelOrder(row.code.c_str(), kSellDirection);
            if (journal_) journal_->cancellation(row.code, row.name, pending, cancelled);
            journalNotices();
            if (cancelled) {
                executor_.refreshPositions();
                sellableBefore = sellableAfterCancel(row, pending);
            } else {
                // The earlier order's shares are frozen by the client: selling the sellable
                // quantity cannot sell them twice, and the alerts must still go out.
                cancelFailed = true;
                note(L"撤单失败 " + row.code + L" " + row.name + L": 之前的卖单 " +
                     halyard::wcformat("%d", pending) + L" 股仍在券商软件中, 只卖出可卖数量 " +
                     halyard::wcformat("%d", row.sellableQuantity));
            }
        }
    }
    if (cancelFailed) tail = kCancelFailedAlertTail;
    return alertAndSell(row, rule, kind, sellableBefore, tail);
}

bool MonitorCycle::alertAndSell(const PositionRow& row, const StockRule& rule, TriggerKind kind,
                                int32_t sellableBefore, const std::wstring& tail) {
    const bool messageOnly = rule.MessageOnly != 0;
    environment_.monitorEvent(MonitorEvent::Trigger);
    if (journal_) journal_->trigger(row.code, row.name, kind, row.currentPrice);
    const AlertOptions& settings = environment_.alertSettings();
    if (settings.playVoice) {
        const std::wstring& sound = soundOf(settings, kind);
        environment_.playAlertSound(sound);
        if (journal_) journal_->alert(L"声音", sound, conditionText(kind));
    }
    const bool sold = !messageOnly && sellOnTrigger(row, rule, sellableBefore);
    // The text says the sale was executed only when the executor accepted it.
    const std::wstring text = alertText(row.name, environment_.localTime(), kind, !sold) + tail;
    const AlertSubject::Kind said = messageOnly ? AlertSubject::Kind::AlertOnly
                                    : sold      ? AlertSubject::Kind::Sold
                                                : AlertSubject::Kind::NotSold;
    environment_.raiseMessageAlertAbout(text, AlertSubject{row.code, conditionText(kind), said});
    return true;
}

float MonitorCycle::triggerPrice(const PositionRow& row, const StockRule& rule) {
    // A hand-edited SlipPrice outside 0-10 acts as the nearest bound (the file keeps it).
    const int32_t slip = std::clamp<int32_t>(rule.SlipPrice, 0, kMostSlipUnits);
    return slip == 0 || noSlipReason(row.code) ? row.currentPrice : sellPriceBelow(row.currentPrice, slip);
}

bool MonitorCycle::sellOnTrigger(const PositionRow& row, const StockRule& rule, int32_t sellableBefore) {
    const int32_t slip = std::clamp<int32_t>(rule.SlipPrice, 0, kMostSlipUnits);
    const std::optional<std::wstring> noSlip = noSlipReason(row.code);
    const float price = triggerPrice(row, rule);
    // The row's quantity: the one read at the start of the cycle, also after the cancel of an
    // earlier order; a chase of Halyard's own order passes the one read after its cancel.
    const int32_t sellResult = executor_.sell(row.code.c_str(), row.sellableQuantity, price, 0.0f);
    if (sellResult == kIncompleteData) ++heldBackSales_;
    if (journal_) journal_->sale(row.code, row.name, price, row.sellableQuantity, sellResult);
    const std::vector<std::wstring> notices = journalNotices();
    const bool refused =
        sellResult == kOrderRefused || std::any_of(notices.begin(), notices.end(), noticeRefusesOrder);
    // The mark holds until a sale reaches the client (one held back by the spacing does not).
    if (sellResult == 1 && noSlip) {
        state_.noSlipSales.erase(row.code);
        if (slip != 0)
            note(L"卖出 " + row.code + L" " + row.name + L" 按最新价, 不减价: " + *noSlip + L" (可能已跌停)");
    }
    if ((sellResult == 1 || sellResult == kOrderRefused) && refused) {
        note(L"卖出 " + row.code + L" " + row.name + L" 被券商拒绝, 下次按最新价卖出");
        markNoSlip(row.code, L"上次卖出被券商拒绝");
    }
    const bool sold = sellResult == 1 && !refused;
    environment_.monitorEvent(sold ? MonitorEvent::SaleSubmitted : MonitorEvent::SaleNotSubmitted);
    if (sold) {
        noteSale(row, sellableBefore);
        OwnSellOrder& own = state_.ownSellOrders[row.code];  // a chase's spacing carries over
        own.price = price;
        own.quantity = row.sellableQuantity;
    }
    return sold;
}

// What the monitor learns from each fresh read besides triggers: stocks sold and bought again
// (their rule starts afresh, on evidence only) and cells that could not be read (journalled once
// a day; a stock with a rule that stays unreadable for a minute of trading hours is alerted once).
#include <cmath>

#include "broker/position_cells.h"
#include "common/c_format.h"
#include "rules/monitor_cycle.h"
#include "rules/trade_journal.h"

namespace {

constexpr uint32_t kUnreadableAlertAfterMs = 60000;

uint16_t unreadableCellsOf(const PositionRow& row) {
    uint16_t cells = row.unreadableCells;
    if (row.sellableQuantity < 0) cells |= kSellableQuantityCell;
    return cells;
}

// The cells this rule compares with or sells by: a rule of prices only decides without the
// profit percent.
uint16_t cellsRuleNeeds(const StockRule& rule) {
    uint16_t cells = kCurrentPriceCell;
    if (ruleNeedsProfitPercent(rule)) cells |= kProfitPercentCell;
    if (!rule.MessageOnly) cells |= kSellableQuantityCell;
    return cells;
}

// A day's last minutes of trading: a stock missing since an earlier day has been missing for a
// whole trading day.
bool closingMinutes(const std::tm& now) {
    return now.tm_hour == 14 && now.tm_min >= 50;
}

bool costRead(const PositionRow& row) {
    return !(row.unreadableCells & kCostPriceCell) && row.costPrice > 0.0f;
}

// Costs are read from the same text twice; anything past rounding is another cost.
bool otherCost(float seen, float now) {
    return std::fabs(seen - now) > 0.0005f;
}

}  // namespace

std::wstring MonitorCycle::sightedHeld(StockSighting& seen, const PositionRow& row) {
    std::wstring evidence;
    if (seen.missing && seen.cost > 0.0f && costRead(row) && otherCost(seen.cost, row.costPrice))
        evidence = L"再次买入 (成本价 " + halyard::wcformat("%.3f", static_cast<double>(seen.cost)) +
                   L" 变为 " + halyard::wcformat("%.3f", static_cast<double>(row.costPrice)) + L")";
    seen.missing = false;
    seen.missingSinceDay = 0;
    if (costRead(row)) seen.cost = row.costPrice;
    // Shares sellable again: the sale of the whole holding was cancelled.
    if (row.sellableQuantity > 0 || !evidence.empty()) seen.soldWhole = false;
    return evidence;
}

std::wstring MonitorCycle::sightedMissing(StockSighting& seen, bool showsOthers) {
    seen.missing = true;
    // A read of 0 rows or one cut short proves nothing about a stock it lacks.
    if (!showsOthers) return {};
    if (seen.soldWhole) {
        seen.soldWhole = false;
        return L"卖出全部持仓已确认, 持仓中已没有这只股票";
    }
    const int day = today();
    if (seen.missingSinceDay == 0) seen.missingSinceDay = day;
    if (seen.missingSinceDay < day && closingMinutes(environment_.localTime()))
        return L"持仓中一整个交易日都没有这只股票";
    return {};
}

bool MonitorCycle::forgetHighsOfStocksSold(RuleTable& rules, const PositionRows& rows) {
    PositionsByCode held;
    for (const PositionRow& row : rows) held.emplace(row.code, row);
    const bool showsOthers = !rows.empty() && store_.positionsComplete();
    for (auto it = state_.sightings.begin(); it != state_.sightings.end();)
        it = rules.count(it->first) ? std::next(it) : state_.sightings.erase(it);
    bool changed = false;
    for (auto& [code, rule] : rules) {
        StockSighting& seen = state_.sightings[code];
        auto found = held.find(code);
        const std::wstring evidence =
            found != held.end() ? sightedHeld(seen, found->second) : sightedMissing(seen, showsOthers);
        if (evidence.empty() || (rule.High == 0 && !rule.HasTrigerMoveStopPrice)) continue;
        rule.High = 0;
        rule.HasTrigerMoveStopPrice = false;
        changed = true;
        note(L"规则 " + code + L" 的最高价和跟踪止损已重置: " + evidence);
    }
    return changed;
}

void MonitorCycle::journalUnreadableCells(const PositionRows& rows) {
    const int day = today();
    for (const PositionRow& row : rows) {
        const uint16_t cells = unreadableCellsOf(row);
        if (!cells) continue;
        UnreadableStock& stock = state_.unreadable[row.code];
        if (stock.journalDay == day) continue;
        stock.journalDay = day;
        note(L"读取 " + row.code + L" " + row.name + L" 的 " + unreadableCellNames(cells) + L" 无法识别");
    }
}

bool MonitorCycle::watchReadable(const PositionRow& row, const StockRule& rule, bool tradingHours) {
    const uint16_t cells = unreadableCellsOf(row) & cellsRuleNeeds(rule);
    auto found = state_.unreadable.find(row.code);
    if (!cells) {
        if (found != state_.unreadable.end()) found->second.watched = false;
        return true;
    }
    if (!tradingHours) return false;
    UnreadableStock& stock = state_.unreadable[row.code];
    const uint32_t now = environment_.tickMs();
    if (!stock.watched) {
        stock.watched = true;
        stock.sinceMs = now;
        stock.alerted = false;
    }
    if (!stock.alerted && now - stock.sinceMs >= kUnreadableAlertAfterMs) {
        stock.alerted = true;
        environment_.raiseMessageAlert(row.name + L"(" + row.code + L") 的" + unreadableCellNames(cells) +
                                       L"一分钟以上无法读取, 止损暂停");
    }
    return false;
}

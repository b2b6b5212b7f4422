// What the monitor learns from each fresh read besides triggers: stocks no longer held (their
// rule starts afresh) and cells that could not be read (journalled once a day; a stock with a
// rule that stays unreadable for a minute of trading hours is alerted once).
#include "broker/position_cells.h"
#include "rules/monitor_cycle.h"
#include "rules/trade_journal.h"

namespace {

constexpr uint32_t kUnreadableAlertAfterMs = 60000;
// The cells a rule decides and sells on.
constexpr uint16_t kRuleCells = kCurrentPriceCell | kProfitPercentCell | kSellableQuantityCell;

uint16_t unreadableRuleCells(const PositionRow& row) {
    uint16_t cells = row.unreadableCells & kRuleCells;
    if (row.sellableQuantity < 0) cells |= kSellableQuantityCell;
    return cells;
}

}  // namespace

bool MonitorCycle::forgetHighsOfStocksGone(RuleTable& rules, const PositionRows& rows) {
    PositionsByCode held;
    for (const PositionRow& row : rows) held.emplace(row.code, row);
    bool changed = false;
    for (auto& [code, rule] : rules) {
        if (held.count(code) || (rule.High == 0 && !rule.HasTrigerMoveStopPrice)) continue;
        rule.High = 0;
        rule.HasTrigerMoveStopPrice = false;
        changed = true;
        note(L"规则 " + code + L" 的最高价和跟踪止损已重置: 持仓中已没有这只股票");
    }
    return changed;
}

void MonitorCycle::journalUnreadableCells(const PositionRows& rows) {
    const int day = today();
    for (const PositionRow& row : rows) {
        const uint16_t cells = row.unreadableCells | unreadableRuleCells(row);
        if (!cells) continue;
        UnreadableStock& stock = state_.unreadable[row.code];
        if (stock.journalDay == day) continue;
        stock.journalDay = day;
        note(L"读取 " + row.code + L" " + row.name + L" 的 " + unreadableCellNames(cells) + L" 无法识别");
    }
}

bool MonitorCycle::watchReadable(const PositionRow& row, bool tradingHours) {
    const uint16_t cells = unreadableRuleCells(row);
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

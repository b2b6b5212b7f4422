#include "rules/trigger_evaluation.h"

#include <algorithm>
#include <cmath>

#include "common/c_format.h"

namespace {

// Rounds to single precision also where the arithmetic runs wider (x87 in the 32-bit build).
float single(float value) {
    volatile float stored = value;
    return stored;
}

}  // namespace

const wchar_t* conditionText(TriggerKind kind) {
    switch (kind) {
        case TriggerKind::TakeProfit:
            return L"满足止盈条件";
        case TriggerKind::StopLoss:
            return L"满足止损条件";
        case TriggerKind::TrailingStop:
            return L"满足跟踪止损条件";
        case TriggerKind::None:
            break;
    }
    return L"";
}

TriggerKind evaluateRule(StockRule& rule, const PositionRow& row) {
    const float cur = row.currentPrice;
    const float pct = row.profitPercent;
    // An empty or unreadable price cell reads as 0: it would fire every absolute stop loss and
    // make an armed trailing stop see a fall of 100 %.
    if (!(cur > 0.0f)) return TriggerKind::None;

    TriggerKind kind = TriggerKind::None;
    if (rule.High < cur) rule.High = cur;
    if (rule.Profit > 0.0f && ((rule.TakeProfitType != kPercentThreshold && cur >= rule.Profit) ||
                               (rule.TakeProfitType == kPercentThreshold && pct >= rule.Profit)))
        kind = TriggerKind::TakeProfit;
    if (rule.StopLoss > 0.0f && ((rule.StopLossType != kPercentThreshold && cur <= rule.StopLoss) ||
                                 (rule.StopLossType == kPercentThreshold && pct <= -rule.StopLoss)))
        kind = TriggerKind::StopLoss;
    const bool percentRead = !(row.unreadableCells & kProfitPercentCell);
    if (!rule.HasTrigerMoveStopPrice && percentRead && pct > rule.MoveStopLossTriggerPrice)
        rule.HasTrigerMoveStopPrice = true;
    if (rule.ApplyMoveStopLoss && rule.MoveStopLossTriggerPrice > 0.0f && rule.MoveStopLoss > 0.0f &&
        rule.HasTrigerMoveStopPrice) {
        const float fall = single(single(single(rule.High - cur) / rule.High) * 100.0f);
        if (fall > rule.MoveStopLoss) kind = TriggerKind::TrailingStop;
    }
    return kind;
}

bool ruleNeedsProfitPercent(const StockRule& rule) {
    const bool trailingToArm = rule.ApplyMoveStopLoss && rule.MoveStopLossTriggerPrice > 0.0f &&
                               rule.MoveStopLoss > 0.0f && !rule.HasTrigerMoveStopPrice;
    return (rule.StopLoss > 0.0f && rule.StopLossType == 0) ||
           (rule.Profit > 0.0f && rule.TakeProfitType == 0) || trailingToArm;
}

int decimalPlaces(float price) {
    const std::string shown = halyard::cformat("%g", static_cast<double>(price));
    const size_t point = shown.find('.');
    if (point == std::string::npos) return 0;
    size_t end = shown.size();
    while (end > point + 1 && shown[end - 1] == '0') --end;
    return static_cast<int>(end - point - 1);
}

float sellPriceBelow(float price, int units) {
    // A unit follows from the decimals the price shows, but is never coarser than the
    // exchange's 0.01: two units below 5 must be 4.98, not 3, which the broker would refuse.
    const int decimals = std::max(decimalPlaces(price), 2);
    const float scale = single(static_cast<float>(std::pow(10.0, decimals)));
    const float unit = single(1.0f / scale);
    return single(price - single(unit * static_cast<float>(units)));
}

namespace {

// Formatted field by field: the C library's strftime may abort on a date out of range.
std::wstring alertTime(const std::tm& localTime) {
    return halyard::wcformat("%04lld-%02lld-%02d %02d-%02d-%02d", localTime.tm_year + 1900LL,
                             localTime.tm_mon + 1LL, localTime.tm_mday, localTime.tm_hour, localTime.tm_min,
                             localTime.tm_sec);
}

}  // namespace

std::wstring alertText(const std::wstring& name, const std::tm& localTime, TriggerKind kind,
                       bool messageOnly) {
    std::wstring text = name + L" 在 " + alertTime(localTime) + L" " + conditionText(kind);
    if (!messageOnly) text += L" 已经执行卖出操作";
    return text;
}

std::wstring saleNotSeenText(const std::wstring& name, const std::tm& localTime) {
    return name + L" 在 " + alertTime(localTime) + L" 券商软件中没有看到之前的卖出, 可能没有卖出, 请检查";
}

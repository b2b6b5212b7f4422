#pragma once
#include <cstdint>
#include <map>
#include <string>

// What a stop-loss or take-profit threshold measures, as StopLossType and TakeProfitType store it.
enum ThresholdKind : int32_t {
    kPercentThreshold = 0,  // the position's profit in percent
    kPriceThreshold = 1,    // the current price; any other stored value counts as this
};

// The per-stock stop rule. A fresh rule is all zero and false with an empty code.
struct StockRule {
    std::wstring Code;
    float Profit = 0;
    float StopLoss = 0;
    float MoveStopLossTriggerPrice = 0;
    float MoveStopLoss = 0;
    float High = 0;
    bool ApplyMoveStopLoss = false;
    bool HasTrigerMoveStopPrice = false;
    int32_t StopLossType = kPercentThreshold;  // a ThresholdKind
    int32_t TakeProfitType = kPercentThreshold;
    int32_t SlipPrice = 0;    // minimum price units below the current price
    int32_t MessageOnly = 0;  // alert only, no order
};

// Keyed by code, ordered by plain comparison of the code units.
using RuleTable = std::map<std::wstring, StockRule>;

inline bool operator==(const StockRule& a, const StockRule& b) {
    return a.Code == b.Code && a.Profit == b.Profit && a.StopLoss == b.StopLoss &&
           a.MoveStopLossTriggerPrice == b.MoveStopLossTriggerPrice && a.MoveStopLoss == b.MoveStopLoss &&
           a.High == b.High && a.ApplyMoveStopLoss == b.ApplyMoveStopLoss &&
           a.HasTrigerMoveStopPrice == b.HasTrigerMoveStopPrice && a.StopLossType == b.StopLossType &&
           a.TakeProfitType == b.TakeProfitType && a.SlipPrice == b.SlipPrice &&
           a.MessageOnly == b.MessageOnly;
}
inline bool operator!=(const StockRule& a, const StockRule& b) {
    return !(a == b);
}

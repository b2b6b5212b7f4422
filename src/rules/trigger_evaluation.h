#pragma once
// The decision of one stock rule against the current row of its position.
#include <ctime>
#include <string>

#include "broker/position_row.h"
#include "rules/stock_rule.h"

enum class TriggerKind { None, TakeProfit, StopLoss, TrailingStop };

// The condition text of a kind; empty for None.
const wchar_t* conditionText(TriggerKind kind);

// Updates the rule's High and HasTrigerMoveStopPrice in place. A row without a positive
// current price (an unreadable price cell) decides nothing and changes nothing; an unreadable
// profit percent arms nothing.
TriggerKind evaluateRule(StockRule& rule, const PositionRow& row);

// Whether the rule compares the profit percent: a threshold set as a percent, or a trailing stop
// still to be armed.
bool ruleNeedsProfitPercent(const StockRule& rule);

// Decimals the price shows in "%g" form.
int decimalPlaces(float price);
// The price `units` minimum price units lower; the unit is never coarser than 0.01.
float sellPriceBelow(float price, int units);

std::wstring alertText(const std::wstring& name, const std::tm& localTime, TriggerKind kind,
                       bool messageOnly);
// The alert after a sale the client never showed (the alert of its trigger said it was sold).
std::wstring saleNotSeenText(const std::wstring& name, const std::tm& localTime);

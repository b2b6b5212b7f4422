#pragma once
// The rule editor's values, as the main window moves them between a stock's rule and the
// dialog around a double-click on the position list.
#include <string>

#include "rules/stock_rule.h"

struct RuleEditorFields {
    float stopLoss = 5.0f;
    float takeProfit = 10.0f;
    float moveStopLossTriggerPrice = 5.0f;
    int applyMoveStopLoss = 0;
    float moveStopLoss = 2.0f;
    // ThresholdKind, as the index of the checked radio button: 按百分比 first, then 按绝对价格.
    int stopLossType = kPercentThreshold;
    int takeProfitType = kPercentThreshold;
    int slipPrice = 0;
    int messageOnly = 0;
};

// The values the editor opens with for a stock with `rule` (null: the stock has none).
RuleEditorFields prefillRuleEditorFields(const StockRule* rule);
RuleEditorFields prefillRuleEditorFields(const RuleTable& rules, const std::wstring& code);

// Writes the editor's values into `rule` and sets its code; High and the armed state stay.
void writeRuleEditorFields(const RuleEditorFields& fields, const std::wstring& code, StockRule& rule);
// The same for the rule of `code` in the table, which gets an all-zero rule first if it has none.
// When the trailing stop is switched on, High starts from `currentPrice` and it is not armed.
StockRule& storeRuleEditorFields(RuleTable& rules, const std::wstring& code, const RuleEditorFields& fields,
                                 float currentPrice);

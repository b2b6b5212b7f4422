// The rule editor's values as the main window moves them between a stock's rule and the dialog.
#include "rules/rule_editor_fields.h"

#include <gtest/gtest.h>

namespace {

// Code, Profit, StopLoss, MoveStopLossTriggerPrice, MoveStopLoss, High, ApplyMoveStopLoss,
// HasTrigerMoveStopPrice, StopLossType, TakeProfitType, SlipPrice, MessageOnly.
const StockRule kArmed{L"600000", 12.5f, 8.5f, 6, 3, 12.34f, true, true, 1, 2, 4, 1};

// The fields in declaration order, each followed by '|'.
std::wstring shown(const RuleEditorFields& f) {
    std::wstring text;
    for (float value : {f.stopLoss, f.takeProfit, f.moveStopLossTriggerPrice, f.moveStopLoss})
        text += std::to_wstring(value) + L"|";
    for (int value : {f.applyMoveStopLoss, f.stopLossType, f.takeProfitType, f.slipPrice, f.messageOnly})
        text += std::to_wstring(value) + L"|";
    return text;
}

TEST(RuleEditorFields, ARuleOpensWithItsValuesAndAStockWithoutOneWithTheDefaults) {
    EXPECT_EQ(shown(prefillRuleEditorFields(&kArmed)), L"8.500000|12.500000|6.000000|3.000000|1|1|2|4|1|");
    const std::wstring defaults = L"5.000000|10.000000|5.000000|2.000000|0|0|0|0|0|";
    EXPECT_EQ(shown(prefillRuleEditorFields(nullptr)), defaults);
    const RuleTable rules{{kArmed.Code, kArmed}};
    EXPECT_EQ(shown(prefillRuleEditorFields(rules, L"600001")), defaults);
    EXPECT_EQ(shown(prefillRuleEditorFields(rules, L"600000")), shown(prefillRuleEditorFields(&kArmed)));
    // Thresholds below 1 and unset trailing values open as the defaults.
    StockRule low = kArmed;
    low.StopLoss = 0.5f;
    low.Profit = 0.99f;
    low.MoveStopLossTriggerPrice = 0;
    low.MoveStopLoss = -1;
    EXPECT_EQ(shown(prefillRuleEditorFields(&low)), L"5.000000|10.000000|5.000000|2.000000|1|1|2|4|1|");
    low.StopLoss = 1;
    low.Profit = 1;
    low.MoveStopLossTriggerPrice = 0.3f;
    low.MoveStopLoss = 0.25f;
    EXPECT_EQ(shown(prefillRuleEditorFields(&low)), L"1.000000|1.000000|0.300000|0.250000|1|1|2|4|1|");
}

TEST(RuleEditorFields, WritingBackKeepsTheHighWaterMarkAndTheArmedState) {
    RuleTable rules{{L"600000", kArmed}};
    const RuleEditorFields fields{7, 20, 9, 0, 1.5f, 0, 0, 2, 0};
    StockRule& stored = storeRuleEditorFields(rules, L"600000", fields, 9.0f);
    EXPECT_EQ(&stored, &rules.at(L"600000"));
    EXPECT_EQ(stored, (StockRule{L"600000", 20, 7, 9, 1.5f, 12.34f, false, true, 0, 0, 2, 0}));
    // Switching the trailing stop on: the high starts from the current price, unarmed.
    RuleEditorFields trailing = fields;
    trailing.applyMoveStopLoss = 1;
    storeRuleEditorFields(rules, L"600000", trailing, 9.0f);
    EXPECT_EQ(rules.at(L"600000"), (StockRule{L"600000", 20, 7, 9, 1.5f, 9.0f, true, false, 0, 0, 2, 0}));
    // A new rule starts all zero, unarmed, with its code; an indeterminate check box means on.
    RuleEditorFields opened = prefillRuleEditorFields(rules, L"000002");
    opened.applyMoveStopLoss = 2;
    storeRuleEditorFields(rules, L"000002", opened, 0);
    EXPECT_EQ(rules.at(L"000002"), (StockRule{L"000002", 10, 5, 5, 2, 0, true, false, 0, 0, 0, 0}));
    // Opening and confirming unchanged gives the rule back.
    StockRule copy = kArmed;
    writeRuleEditorFields(prefillRuleEditorFields(&kArmed), kArmed.Code, copy);
    EXPECT_EQ(copy, kArmed);
}

}  // namespace

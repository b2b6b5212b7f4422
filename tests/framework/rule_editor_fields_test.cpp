#include "rules/rule_editor_fields.h"

#include <gtest/gtest.h>

namespace {

StockRule armedRule() {
    StockRule rule;
    rule.Code = L"600000";
    rule.Profit = 12.5f;
    rule.StopLoss = 8.5f;
    rule.MoveStopLossTriggerPrice = 6;
    rule.MoveStopLoss = 3;
    rule.High = 12.34f;
    rule.ApplyMoveStopLoss = true;
    rule.HasTrigerMoveStopPrice = true;
    rule.StopLossType = 1;
    rule.TakeProfitType = 1;
    rule.SlipPrice = 4;
    rule.MessageOnly = 1;
    return rule;
}

TEST(RuleEditorFields, AStockWithoutRuleOpensWithTheDefaults) {
    RuleEditorFields fields = prefillRuleEditorFields(nullptr);
    EXPECT_EQ(5.0f, fields.stopLoss);
    EXPECT_EQ(10.0f, fields.takeProfit);
    EXPECT_EQ(5.0f, fields.moveStopLossTriggerPrice);
    EXPECT_EQ(2.0f, fields.moveStopLoss);
    EXPECT_EQ(0, fields.applyMoveStopLoss);
    EXPECT_EQ(0, fields.stopLossType);
    EXPECT_EQ(0, fields.takeProfitType);
    EXPECT_EQ(0, fields.slipPrice);
    EXPECT_EQ(0, fields.messageOnly);

    RuleTable rules{{L"000001", armedRule()}};
    EXPECT_EQ(5.0f, prefillRuleEditorFields(rules, L"600001").stopLoss);
}

TEST(RuleEditorFields, ARuleOpensWithItsOwnValues) {
    StockRule rule = armedRule();
    RuleEditorFields fields = prefillRuleEditorFields(&rule);
    EXPECT_EQ(8.5f, fields.stopLoss);
    EXPECT_EQ(12.5f, fields.takeProfit);
    EXPECT_EQ(6.0f, fields.moveStopLossTriggerPrice);
    EXPECT_EQ(3.0f, fields.moveStopLoss);
    EXPECT_EQ(1, fields.applyMoveStopLoss);
    EXPECT_EQ(1, fields.stopLossType);
    EXPECT_EQ(1, fields.takeProfitType);
    EXPECT_EQ(4, fields.slipPrice);
    EXPECT_EQ(1, fields.messageOnly);

    RuleTable rules{{rule.Code, rule}};
    EXPECT_EQ(12.5f, prefillRuleEditorFields(rules, L"600000").takeProfit);
}

TEST(RuleEditorFields, ThresholdsBelowOneAndUnsetTrailingValuesOpenAsDefaults) {
    StockRule rule = armedRule();
    rule.StopLoss = 0.5f;
    rule.Profit = 0.99f;
    rule.MoveStopLossTriggerPrice = 0;
    rule.MoveStopLoss = -1;
    RuleEditorFields fields = prefillRuleEditorFields(&rule);
    EXPECT_EQ(5.0f, fields.stopLoss);
    EXPECT_EQ(10.0f, fields.takeProfit);
    EXPECT_EQ(5.0f, fields.moveStopLossTriggerPrice);
    EXPECT_EQ(2.0f, fields.moveStopLoss);

    rule.StopLoss = 1;
    rule.Profit = 1;
    rule.MoveStopLossTriggerPrice = 0.3f;
    rule.MoveStopLoss = 0.25f;
    fields = prefillRuleEditorFields(&rule);
    EXPECT_EQ(1.0f, fields.stopLoss);
    EXPECT_EQ(1.0f, fields.takeProfit);
    EXPECT_EQ(0.3f, fields.moveStopLossTriggerPrice);
    EXPECT_EQ(0.25f, fields.moveStopLoss);
}

TEST(RuleEditorFields, WritingBackKeepsTheHighWaterMarkAndTheArmedState) {
    RuleTable rules{{L"600000", armedRule()}};
    RuleEditorFields fields;
    fields.stopLoss = 7;
    fields.takeProfit = 20;
    fields.moveStopLossTriggerPrice = 9;
    fields.moveStopLoss = 1.5f;
    fields.applyMoveStopLoss = 0;
    fields.stopLossType = 0;
    fields.takeProfitType = 0;
    fields.slipPrice = 2;
    fields.messageOnly = 0;
    StockRule& stored = storeRuleEditorFields(rules, L"600000", fields);
    EXPECT_EQ(&stored, &rules.at(L"600000"));
    EXPECT_EQ(1u, rules.size());
    EXPECT_EQ(7.0f, stored.StopLoss);
    EXPECT_EQ(20.0f, stored.Profit);
    EXPECT_EQ(9.0f, stored.MoveStopLossTriggerPrice);
    EXPECT_EQ(1.5f, stored.MoveStopLoss);
    EXPECT_FALSE(stored.ApplyMoveStopLoss);
    EXPECT_EQ(0, stored.StopLossType);
    EXPECT_EQ(0, stored.TakeProfitType);
    EXPECT_EQ(2, stored.SlipPrice);
    EXPECT_EQ(0, stored.MessageOnly);
    EXPECT_EQ(12.34f, stored.High);
    EXPECT_TRUE(stored.HasTrigerMoveStopPrice);
}

TEST(RuleEditorFields, ANewRuleStartsUnarmedWithItsCodeSet) {
    RuleTable rules;
    RuleEditorFields fields = prefillRuleEditorFields(rules, L"000002");
    fields.applyMoveStopLoss = 2;  // an indeterminate check box still means on
    storeRuleEditorFields(rules, L"000002", fields);
    ASSERT_EQ(1u, rules.count(L"000002"));
    const StockRule& rule = rules.at(L"000002");
    EXPECT_EQ(L"000002", rule.Code);
    EXPECT_EQ(5.0f, rule.StopLoss);
    EXPECT_EQ(10.0f, rule.Profit);
    EXPECT_TRUE(rule.ApplyMoveStopLoss);
    EXPECT_EQ(0.0f, rule.High);
    EXPECT_FALSE(rule.HasTrigerMoveStopPrice);
}

TEST(RuleEditorFields, ARuleSurvivesOpeningAndConfirmingUnchanged) {
    StockRule original = armedRule();
    StockRule copy = original;
    writeRuleEditorFields(prefillRuleEditorFields(&original), original.Code, copy);
    EXPECT_EQ(original.StopLoss, copy.StopLoss);
    EXPECT_EQ(original.Profit, copy.Profit);
    EXPECT_EQ(original.MoveStopLoss, copy.MoveStopLoss);
    EXPECT_EQ(original.MoveStopLossTriggerPrice, copy.MoveStopLossTriggerPrice);
    EXPECT_EQ(original.ApplyMoveStopLoss, copy.ApplyMoveStopLoss);
    EXPECT_EQ(original.StopLossType, copy.StopLossType);
    EXPECT_EQ(original.TakeProfitType, copy.TakeProfitType);
    EXPECT_EQ(original.SlipPrice, copy.SlipPrice);
    EXPECT_EQ(original.MessageOnly, copy.MessageOnly);
    EXPECT_EQ(original.Code, copy.Code);
}

}  // namespace

// The decision of one rule against one position row, and the sell price below the current one.
#include <gtest/gtest.h>

#include <limits>

#include "broker/number_text.h"
#include "rules/trigger_evaluation.h"

namespace {

PositionRow row(float currentPrice, float profitPercent) {
    PositionRow r;
    r.code = L"600036";
    r.name = L"招商银行";
    r.currentPrice = currentPrice;
    r.profitPercent = profitPercent;
    return r;
}

StockRule percentRule(float profit, float stopLoss) {
    StockRule rule;
    rule.Code = L"600036";
    rule.Profit = profit;
    rule.StopLoss = stopLoss;
    return rule;
}

StockRule trailingRule(float trigger, float fall, float high) {
    StockRule rule;
    rule.Code = L"600036";
    rule.ApplyMoveStopLoss = true;
    rule.MoveStopLossTriggerPrice = trigger;
    rule.MoveStopLoss = fall;
    rule.High = high;
    return rule;
}

TriggerKind evaluate(StockRule rule, float currentPrice, float profitPercent) {
    return evaluateRule(rule, row(currentPrice, profitPercent));
}

}  // namespace

TEST(TriggerEvaluation, ConditionTexts) {
    EXPECT_STREQ(conditionText(TriggerKind::TakeProfit), L"满足止盈条件");
    EXPECT_STREQ(conditionText(TriggerKind::StopLoss), L"满足止损条件");
    EXPECT_STREQ(conditionText(TriggerKind::TrailingStop), L"满足跟踪止损条件");
    EXPECT_STREQ(conditionText(TriggerKind::None), L"");
}

TEST(TriggerEvaluation, PercentThresholdsIncludeTheirBoundary) {
    EXPECT_EQ(evaluate(percentRule(10, 0), 11, 10.0f), TriggerKind::TakeProfit);
    EXPECT_EQ(evaluate(percentRule(10, 0), 11, 9.99f), TriggerKind::None);
    EXPECT_EQ(evaluate(percentRule(0, 5), 9, -5.0f), TriggerKind::StopLoss);
    EXPECT_EQ(evaluate(percentRule(0, 5), 9, -4.99f), TriggerKind::None);
}

TEST(TriggerEvaluation, AbsolutePriceThresholds) {
    StockRule rule = percentRule(12.5f, 8.0f);
    rule.TakeProfitType = 1;
    rule.StopLossType = 1;
    EXPECT_EQ(evaluate(rule, 8.00f, 50.0f), TriggerKind::StopLoss);  // the percent does not matter
    EXPECT_EQ(evaluate(rule, 8.01f, -50.0f), TriggerKind::None);
    EXPECT_EQ(evaluate(rule, 12.5f, -50.0f), TriggerKind::TakeProfit);
    EXPECT_EQ(evaluate(rule, 12.49f, 50.0f), TriggerKind::None);
    rule.StopLossType = 7;  // any type other than 0 is a price
    EXPECT_EQ(evaluate(rule, 7.5f, 0.0f), TriggerKind::StopLoss);
}

TEST(TriggerEvaluation, ZeroOrNegativeThresholdsSwitchTheConditionOff) {
    EXPECT_EQ(evaluate(percentRule(0, 0), 10, 0.0f), TriggerKind::None);
    EXPECT_EQ(evaluate(percentRule(-1, -1), 10, 0.0f), TriggerKind::None);
    StockRule absolute = percentRule(0, 0);
    absolute.StopLossType = 1;
    absolute.TakeProfitType = 1;
    EXPECT_EQ(evaluate(absolute, 0.01f, 0.0f), TriggerKind::None);
}

TEST(TriggerEvaluation, LaterConditionsWinOverEarlierOnes) {
    // Absolute prices set inconsistently: both hold, the stop loss wins.
    StockRule both = percentRule(5, 20);
    both.TakeProfitType = 1;
    both.StopLossType = 1;
    EXPECT_EQ(evaluate(both, 10, 0), TriggerKind::StopLoss);

    // An armed trailing stop that fires wins over the stop loss.
    StockRule all = trailingRule(5, 2, 20);
    all.HasTrigerMoveStopPrice = true;
    all.StopLoss = 5;
    all.Profit = 1;
    all.TakeProfitType = 1;
    EXPECT_EQ(evaluate(all, 10, -50), TriggerKind::TrailingStop);
}

TEST(TriggerEvaluation, HighWaterMarkRisesInEveryEvaluation) {
    StockRule rule = percentRule(0, 0);
    const PositionRow up = row(10.5f, 1);
    const PositionRow down = row(9.0f, -1);
    evaluateRule(rule, up);
    EXPECT_EQ(rule.High, 10.5f);
    evaluateRule(rule, down);
    EXPECT_EQ(rule.High, 10.5f);

    // Enabled later, the trailing stop measures from the highest price seen so far.
    rule.ApplyMoveStopLoss = true;
    rule.MoveStopLossTriggerPrice = 0.5f;
    rule.MoveStopLoss = 10;
    EXPECT_EQ(evaluateRule(rule, row(9.4f, 1)), TriggerKind::TrailingStop);
}

TEST(TriggerEvaluation, ArmingNeedsAProfitStrictlyAboveTheTrigger) {
    StockRule rule = trailingRule(5, 2, 0);
    rule.ApplyMoveStopLoss = false;  // arming happens whether or not the stop is enabled
    evaluateRule(rule, row(10, 5.0f));
    EXPECT_FALSE(rule.HasTrigerMoveStopPrice);
    evaluateRule(rule, row(10, 5.01f));
    EXPECT_TRUE(rule.HasTrigerMoveStopPrice);
    evaluateRule(rule, row(10, -20.0f));
    EXPECT_TRUE(rule.HasTrigerMoveStopPrice);  // never cleared
}

TEST(TriggerEvaluation, TrailingStopFiresOnAFallStrictlyAboveTheAllowedOne) {
    StockRule rule = trailingRule(5, 2, 10.00f);
    EXPECT_EQ(evaluateRule(rule, row(9.90f, 5.5f)), TriggerKind::None);  // arms, falls 1 %
    EXPECT_TRUE(rule.HasTrigerMoveStopPrice);
    EXPECT_EQ(evaluateRule(rule, row(9.80f, 4)), TriggerKind::None);  // 2 % in float: 1.9999981
    EXPECT_EQ(evaluateRule(rule, row(9.79f, 4)), TriggerKind::TrailingStop);
    EXPECT_EQ(rule.High, 10.00f);
}

TEST(TriggerEvaluation, TrailingStopNeedsEnabledArmedAndPositiveSettings) {
    StockRule disabled = trailingRule(5, 2, 10);
    disabled.HasTrigerMoveStopPrice = true;
    disabled.ApplyMoveStopLoss = false;
    EXPECT_EQ(evaluate(disabled, 5, 0), TriggerKind::None);
    StockRule unarmed = trailingRule(5, 2, 10);
    EXPECT_EQ(evaluate(unarmed, 5, 0), TriggerKind::None);
    StockRule noTrigger = trailingRule(0, 2, 10);
    noTrigger.HasTrigerMoveStopPrice = true;
    EXPECT_EQ(evaluate(noTrigger, 5, 0), TriggerKind::None);
    StockRule noFall = trailingRule(5, 0, 10);
    noFall.HasTrigerMoveStopPrice = true;
    EXPECT_EQ(evaluate(noFall, 5, 0), TriggerKind::None);
}

TEST(TriggerEvaluation, FallIsComputedInSinglePrecision) {
    // Cases where the fall rounded step by step in single precision and the fall computed
    // wider (double promotion, x87 registers) fall on different sides of the allowed fall.
    StockRule fires = trailingRule(1, 7.5f, 50.0f);
    fires.HasTrigerMoveStopPrice = true;
    EXPECT_EQ(evaluateRule(fires, row(46.25f, 0)), TriggerKind::TrailingStop);  // 7.50000048
    StockRule holds = trailingRule(1, 9.0f, 13.0f);
    holds.HasTrigerMoveStopPrice = true;
    EXPECT_EQ(evaluateRule(holds, row(11.83f, 0)), TriggerKind::None);  // exactly 9
    StockRule holdsToo = trailingRule(1, 3.9f, 30.0f);
    holdsToo.HasTrigerMoveStopPrice = true;
    EXPECT_EQ(evaluateRule(holdsToo, row(28.83f, 0)), TriggerKind::None);
}

TEST(TriggerEvaluation, RowWithoutAPositivePriceDecidesNothing) {
    StockRule absolute = percentRule(0, 8);
    absolute.StopLossType = 1;
    absolute.High = 9;
    const StockRule untouched = absolute;
    EXPECT_EQ(evaluateRule(absolute, row(0, -100)), TriggerKind::None);
    EXPECT_EQ(evaluateRule(absolute, row(-1, -100)), TriggerKind::None);
    EXPECT_EQ(evaluateRule(absolute, row(std::numeric_limits<float>::quiet_NaN(), -100)), TriggerKind::None);
    EXPECT_EQ(absolute, untouched);

    StockRule armed = trailingRule(5, 2, 10);
    armed.HasTrigerMoveStopPrice = true;
    EXPECT_EQ(evaluateRule(armed, row(0, 0)), TriggerKind::None);
    StockRule arming = trailingRule(5, 2, 10);
    arming.Profit = 1;
    const StockRule before = arming;
    EXPECT_EQ(evaluateRule(arming, row(0, 50)), TriggerKind::None);
    EXPECT_EQ(arming, before);  // neither armed nor a take profit
    // A price appears again: the rule goes on from where it was.
    EXPECT_EQ(evaluateRule(arming, row(10, 50)), TriggerKind::TakeProfit);
    EXPECT_TRUE(arming.HasTrigerMoveStopPrice);
}

TEST(SellPrice, DecimalPlacesShownInGeneralNotation) {
    EXPECT_EQ(decimalPlaces(12.35f), 2);
    EXPECT_EQ(decimalPlaces(5.2f), 1);
    EXPECT_EQ(decimalPlaces(5.0f), 0);
    EXPECT_EQ(decimalPlaces(3.912f), 3);
    EXPECT_EQ(decimalPlaces(9.99f), 2);       // six significant digits hide the float's error
    EXPECT_EQ(decimalPlaces(1234567.0f), 9);  // "1.23457e+06": everything after the point counts
    EXPECT_EQ(decimalPlaces(0.5f), 1);
}

TEST(SellPrice, UnitsBelowTheCurrentPriceNeverCoarserThanACent) {
    EXPECT_EQ(formatPrice(sellPriceBelow(12.35f, 2)), L"12.33");
    EXPECT_EQ(formatPrice(sellPriceBelow(5.2f, 2)), L"5.18");
    EXPECT_EQ(formatPrice(sellPriceBelow(5.0f, 2)), L"4.98");
    EXPECT_EQ(formatPrice(sellPriceBelow(3.912f, 2)), L"3.91");
    EXPECT_NEAR(sellPriceBelow(3.912f, 2), 3.910f, 1e-6f);
    EXPECT_EQ(sellPriceBelow(12.35f, 0), 12.35f);
    EXPECT_EQ(formatPrice(sellPriceBelow(10.0f, 10)), L"9.9");
    EXPECT_EQ(formatPrice(sellPriceBelow(0.01f, 1)), L"0");
}

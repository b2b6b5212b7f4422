// The decision of one rule against one position row, the sell price below the current one, and
// the alert text.
#include <gtest/gtest.h>

#include <limits>

#include "broker/number_text.h"
#include "rules/trigger_evaluation.h"

namespace {

PositionRow row(float currentPrice, float profitPercent) {
    PositionRow r;
    r.currentPrice = currentPrice;
    r.profitPercent = profitPercent;
    return r;
}

// Take profit and stop loss by percent (type 0) or by price (any other type).
StockRule percent(float profit, float stopLoss, int32_t type = 0) {
    return StockRule{L"600036", profit, stopLoss, 0, 0, 0, false, false, type, type, 0, 0};
}

// An enabled trailing stop.
StockRule trailing(float trigger, float fall, float high, bool armed = true) {
    return StockRule{L"600036", 0, 0, trigger, fall, high, true, armed, 0, 0, 0, 0};
}

}  // namespace

TEST(TriggerEvaluation, OneRowAgainstOneRule) {
    StockRule disabled = trailing(5, 2, 10);
    disabled.ApplyMoveStopLoss = false;
    StockRule all = trailing(5, 2, 20);
    all.StopLoss = 5;
    all.Profit = 1;
    all.TakeProfitType = 1;
    const struct {
        const char* what;
        StockRule rule;
        float price, percent;
        TriggerKind expected;
    } cases[] = {
        {"take profit at its percent", percent(10, 0), 11, 10.0f, TriggerKind::TakeProfit},
        {"just below it", percent(10, 0), 11, 9.99f, TriggerKind::None},
        {"stop loss at its percent", percent(0, 5), 9, -5.0f, TriggerKind::StopLoss},
        {"just above it", percent(0, 5), 9, -4.99f, TriggerKind::None},
        {"stop loss at its price, any percent", percent(12.5f, 8, 1), 8.00f, 50, TriggerKind::StopLoss},
        {"just above it", percent(12.5f, 8, 1), 8.01f, -50, TriggerKind::None},
        {"take profit at its price", percent(12.5f, 8, 1), 12.5f, -50, TriggerKind::TakeProfit},
        {"any type other than 0 is a price", percent(0, 8, 7), 7.5f, 0, TriggerKind::StopLoss},
        {"zero thresholds are off", percent(0, 0), 10, 0, TriggerKind::None},
        {"negative thresholds are off", percent(-1, -1), 10, 0, TriggerKind::None},
        {"both prices hold: the stop loss wins", percent(5, 20, 1), 10, 0, TriggerKind::StopLoss},
        {"an armed trailing stop wins over both", all, 10, -50, TriggerKind::TrailingStop},
        {"trailing stop not enabled", disabled, 5, 0, TriggerKind::None},
        {"trailing stop not armed", trailing(5, 2, 10, false), 5, 0, TriggerKind::None},
        {"trailing stop without trigger", trailing(0, 2, 10), 5, 0, TriggerKind::None},
        {"trailing stop without fall", trailing(5, 0, 10), 5, 0, TriggerKind::None},
        {"a fall of 2 % is 1.9999981 in float", trailing(5, 2, 10), 9.80f, 4, TriggerKind::None},
        {"a fall beyond 2 %", trailing(5, 2, 10), 9.79f, 4, TriggerKind::TrailingStop},
        // Rounded step by step in single precision, these falls land on the other side of the
        // allowed one than computed wider (double promotion, x87 registers).
        {"a fall of 7.50000048", trailing(1, 7.5f, 50), 46.25f, 0, TriggerKind::TrailingStop},
        {"a fall of exactly 9", trailing(1, 9, 13), 11.83f, 0, TriggerKind::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        StockRule rule = c.rule;
        EXPECT_EQ(evaluateRule(rule, row(c.price, c.percent)), c.expected);
    }
}

TEST(TriggerEvaluation, RuleKeepsItsHighAndArmedStateAcrossRows) {
    // Arming needs a profit strictly above the trigger, whether or not the stop is enabled.
    StockRule rule = trailing(5, 10, 0, false);
    rule.ApplyMoveStopLoss = false;
    evaluateRule(rule, row(10.5f, 5.0f));
    EXPECT_FALSE(rule.HasTrigerMoveStopPrice);
    evaluateRule(rule, row(9.0f, 5.01f));
    EXPECT_TRUE(rule.HasTrigerMoveStopPrice);
    evaluateRule(rule, row(9.5f, -20));
    EXPECT_TRUE(rule.HasTrigerMoveStopPrice);  // never cleared
    EXPECT_EQ(rule.High, 10.5f);               // rises in every evaluation, never falls
    // Enabled later, the trailing stop measures from the highest price seen so far.
    rule.ApplyMoveStopLoss = true;
    EXPECT_EQ(evaluateRule(rule, row(9.4f, 1)), TriggerKind::TrailingStop);
}

TEST(TriggerEvaluation, RowWithoutAPositivePriceDecidesAndChangesNothing) {
    // An unreadable price cell reads as 0: it must not fire a stop loss at a price, make an armed
    // trailing stop see a fall of 100 %, nor arm or take profit on the percent.
    StockRule arming = trailing(5, 2, 10, false);
    arming.Profit = 1;
    for (float price : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN()}) {
        for (StockRule rule : {percent(0, 8, 1), trailing(5, 2, 10), arming}) {
            SCOPED_TRACE(price);
            const StockRule before = rule;
            EXPECT_EQ(evaluateRule(rule, row(price, 50)), TriggerKind::None);
            EXPECT_EQ(rule, before);
        }
    }
    // A price appears again: the rule goes on from where it was.
    EXPECT_EQ(evaluateRule(arming, row(10, 50)), TriggerKind::TakeProfit);
    EXPECT_TRUE(arming.HasTrigerMoveStopPrice);
}

TEST(SellPrice, UnitsBelowTheCurrentPriceNeverCoarserThanACent) {
    const struct {
        float price;
        int units;
        const wchar_t* expected;
    } cases[] = {{12.35f, 2, L"12.33"}, {5.2f, 2, L"5.18"},  {5.0f, 2, L"4.98"}, {3.912f, 2, L"3.91"},
                 {12.35f, 0, L"12.35"}, {10.0f, 10, L"9.9"}, {0.01f, 1, L"0"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.price);
        EXPECT_EQ(formatPrice(sellPriceBelow(c.price, c.units)), c.expected);
    }
    EXPECT_NEAR(sellPriceBelow(3.912f, 2), 3.910f, 1e-6f);  // the unit of the third decimal
    // Decimals as "%g" shows them: six significant digits hide the float's error.
    EXPECT_EQ(decimalPlaces(9.99f), 2);
    EXPECT_EQ(decimalPlaces(5.0f), 0);
    EXPECT_EQ(decimalPlaces(1234567.0f), 9);  // "1.23457e+06": everything after the point counts
}

TEST(AlertText, NameTimeConditionAndWhetherItSold) {
    std::tm when{};
    when.tm_year = 114;
    when.tm_mon = 2;
    when.tm_mday = 3;
    when.tm_hour = 10;
    when.tm_min = 5;
    when.tm_sec = 3;
    EXPECT_EQ(alertText(L"平安银行", when, TriggerKind::StopLoss, false),
              L"平安银行 在 2014-03-03 10-05-03 满足止损条件 已经执行卖出操作");
    EXPECT_EQ(alertText(L"", when, TriggerKind::TakeProfit, true), L" 在 2014-03-03 10-05-03 满足止盈条件");
    EXPECT_EQ(alertText(L"x", when, TriggerKind::TrailingStop, true),
              L"x 在 2014-03-03 10-05-03 满足跟踪止损条件");
    EXPECT_STREQ(conditionText(TriggerKind::None), L"");
    // Written field by field, also out of range: strftime may abort on such a date.
    when.tm_mon = 40;
    when.tm_hour = -1;
    when.tm_year = 2147483647;
    EXPECT_EQ(alertText(L"x", when, TriggerKind::StopLoss, true),
              L"x 在 2147485547-41-03 -1-05-03 满足止损条件");
}

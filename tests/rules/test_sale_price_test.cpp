#include "rules/test_sale_price.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// Whole number of `unit` within a rounding error of the float.
bool onTick(float price, double unit) {
    const double units = static_cast<double>(price) / unit;
    return std::fabs(units - std::round(units)) < 1e-3;
}

TEST(TestSalePrice, FivePercentUpOnTheTick) {
    struct Case {
        float current;
        float expected;
    } cases[] = {{10.00f, 10.50f}, {9.99f, 10.49f},  {12.34f, 12.96f},   {5.0f, 5.25f},
                 {5.2f, 5.46f},    {3.912f, 4.108f}, {1800.0f, 1890.0f}, {1.0f, 1.05f}};
    for (const Case& c : cases) {
        EXPECT_FLOAT_EQ(testSalePrice(c.current), c.expected) << c.current;
    }
}

TEST(TestSalePrice, NeverOffTheFenTickAndWithinHalfAUnitOfFivePercent) {
    for (int fen = 101; fen < 5000; fen += 37) {
        const float current = static_cast<float>(fen) / 100.0f;
        const float price = testSalePrice(current);
        EXPECT_TRUE(onTick(price, 0.01)) << current << " -> " << price;
        EXPECT_LE(std::fabs(price - current * 1.05), 0.005 + 1e-4) << current;
    }
}

TEST(TestSalePrice, UnreadablePricesGiveZero) {
    EXPECT_EQ(testSalePrice(0.0f), 0.0f);
    EXPECT_EQ(testSalePrice(-3.0f), 0.0f);
    EXPECT_EQ(testSalePrice(std::numeric_limits<float>::quiet_NaN()), 0.0f);
    EXPECT_EQ(testSalePrice(std::numeric_limits<float>::infinity()), 0.0f);
    EXPECT_EQ(testSalePrice(std::numeric_limits<float>::max()), 0.0f);
}

}  // namespace

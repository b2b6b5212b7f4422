// Numbers read from the client's cells and written into its edits.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "broker/number_text.h"

TEST(NumberText, IntegersStopAtTheFirstOtherCharacter) {
    EXPECT_EQ(parseInteger(L"1200"), 1200);
    EXPECT_EQ(parseInteger(L"1,200"), 1);
    EXPECT_EQ(parseInteger(L"  \t-35 shares"), -35);
    EXPECT_EQ(parseInteger(L"+7"), 7);
    EXPECT_EQ(parseInteger(L"12.9"), 12);
    EXPECT_EQ(parseInteger(L""), 0);
    EXPECT_EQ(parseInteger(L"--5"), 0);
    EXPECT_EQ(parseInteger(L"- 5"), 0);
    EXPECT_EQ(parseInteger(L"股数"), 0);
    EXPECT_EQ(parseInteger(L"\u0661\u0662"), 0);  // digits of other scripts are not digits here
    EXPECT_EQ(parseInteger(std::string(" 42")), 42);
}

TEST(NumberText, IntegersBeyondThe32BitRangeSaturate) {
    EXPECT_EQ(parseInteger(L"2147483647"), 2147483647);
    EXPECT_EQ(parseInteger(L"2147483648"), 2147483647);
    EXPECT_EQ(parseInteger(L"-2147483648"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(parseInteger(L"-2147483649"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(parseInteger(std::wstring(10000, L'9')), 2147483647);
    EXPECT_EQ(parseInteger(L"000000000000000000000000012"), 12);
}

TEST(NumberText, DecimalsWithPointAndExponent) {
    EXPECT_EQ(parseDecimal(L"12.35"), 12.35f);
    EXPECT_EQ(parseDecimal(L"  -3.5%"), -3.5f);
    EXPECT_EQ(parseDecimal(L"+.25"), 0.25f);
    EXPECT_EQ(parseDecimal(L"7."), 7.0f);
    EXPECT_EQ(parseDecimal(L"1.5e2"), 150.0f);
    EXPECT_EQ(parseDecimal(L"1.5E-2x"), 0.015f);
    EXPECT_EQ(parseDecimal(L"2e"), 2.0f);
    EXPECT_EQ(parseDecimal(L"2e+"), 2.0f);
    EXPECT_EQ(parseDecimal(L"1,234.5"), 1.0f);
    EXPECT_EQ(parseDecimal(L"0x1A"), 0.0f);
    EXPECT_EQ(parseDecimal(L"."), 0.0f);
    EXPECT_EQ(parseDecimal(L"-"), 0.0f);
    EXPECT_EQ(parseDecimal(L"当前价"), 0.0f);
    EXPECT_EQ(parseDecimal(L""), 0.0f);
    EXPECT_EQ(parseDecimal(std::string("9.99")), 9.99f);
    // Rounded once, to the nearest single-precision value.
    EXPECT_EQ(parseDecimal(L"0.1"), 0.1f);
    EXPECT_EQ(parseDecimal(L"16777217"), 16777216.0f);
}

TEST(NumberText, DecimalsThatAreNotFiniteInSinglePrecisionAreZero) {
    EXPECT_EQ(parseDecimal(L"nan"), 0.0f);
    EXPECT_EQ(parseDecimal(L"inf"), 0.0f);
    EXPECT_EQ(parseDecimal(L"-Infinity"), 0.0f);
    EXPECT_EQ(parseDecimal(L"1e39"), 0.0f);
    EXPECT_EQ(parseDecimal(L"-4e38"), 0.0f);
    EXPECT_EQ(parseDecimal(L"1e99999999999999999999"), 0.0f);
    EXPECT_EQ(parseDecimal(std::wstring(400, L'9')), 0.0f);
    EXPECT_EQ(parseDecimal(L"1e-60"), 0.0f);
    EXPECT_EQ(parseDecimal(L"3.4e38"), 3.4e38f);
    EXPECT_EQ(parseDecimal(L"0." + std::wstring(10000, L'0') + L"1"), 0.0f);
}

TEST(NumberText, PriceWithTheFewestDecimalsThatShowIt) {
    EXPECT_EQ(formatPrice(12.0), L"12");
    EXPECT_EQ(formatPrice(25.5), L"25.5");
    EXPECT_EQ(formatPrice(0.0), L"0");
    EXPECT_EQ(formatPrice(-0.0), L"0");
    EXPECT_EQ(formatPrice(-2.5), L"-2.5");
    EXPECT_EQ(formatPrice(1.23456), L"1.23456");
    EXPECT_EQ(formatPrice(1.234567), L"1.234567");
    EXPECT_EQ(formatPrice(0.123), L"0.123");
}

TEST(NumberText, SinglePrecisionPricesShowTheirDecimals) {
    // Values a float holds just above or below the decimal the user meant.
    EXPECT_EQ(formatPrice(10.35f), L"10.35");
    EXPECT_EQ(formatPrice(8.88f), L"8.88");
    EXPECT_EQ(formatPrice(9.99f), L"9.99");
    EXPECT_EQ(formatPrice(3.1f), L"3.1");
    EXPECT_EQ(formatPrice(100.01f), L"100.01");
    EXPECT_EQ(formatPrice(1999.99f), L"1999.99");
    EXPECT_EQ(formatPrice(0.07f), L"0.07");
    EXPECT_EQ(formatPrice(12.999999f), L"13");
    // The sell price is the difference of two floats taken in double precision.
    EXPECT_EQ(formatPrice(static_cast<double>(12.35f) - static_cast<double>(0.02f)), L"12.33");
    EXPECT_EQ(formatPrice(static_cast<double>(100.01f) + static_cast<double>(0.01f)), L"100.02");
}

TEST(NumberText, PricesOutOfTheOrdinarySafe) {
    EXPECT_EQ(formatPrice(std::numeric_limits<double>::quiet_NaN()), L"0");
    EXPECT_EQ(formatPrice(std::numeric_limits<double>::infinity()), L"0");
    EXPECT_EQ(formatPrice(1e12), L"1000000000000");
    EXPECT_EQ(formatPrice(-3e9), L"-3000000000");
    EXPECT_EQ(formatPrice(2147483647.0), L"2147483647");
    EXPECT_EQ(formatPrice(1e-9), L"0");
}

TEST(NumberText, Quantities) {
    EXPECT_EQ(formatQuantity(1200), L"1200");
    EXPECT_EQ(formatQuantity(0), L"0");
    EXPECT_EQ(formatQuantity(-100), L"-100");
    EXPECT_EQ(formatQuantity(std::numeric_limits<int32_t>::min()), L"-2147483648");
}

// How the dialogs read and show numbers, and the messages that refuse a text.
#include "framework/exchange_text.h"

#include <gtest/gtest.h>

namespace halyard {
namespace {

TEST(ExchangeText, IntegersAreWholeSignedNumbersWithOptionalBlanks) {
    const struct {
        const wchar_t* text;
        int expected;
    } accepted[] = {{L"6", 6}, {L"  -12\t", -12}, {L"+7", 7}, {L"2147483647", 2147483647}};
    for (const auto& c : accepted) {
        SCOPED_TRACE(c.text);
        int value = 0;
        EXPECT_TRUE(parseExchangeInt(c.text, value));
        EXPECT_EQ(value, c.expected);
    }
    for (const wchar_t* text : {L"", L"   ", L"12abc", L"1 2", L"3.5", L"-", L"1e2", L"2147483648",
                                L"-2147483649", L"99999999999999999999", L"６"}) {
        SCOPED_TRACE(text);
        int value = 42;
        EXPECT_FALSE(parseExchangeInt(text, value));
        EXPECT_EQ(value, 42);
    }
}

TEST(ExchangeText, FloatsAreDecimalNumbersWithinSinglePrecision) {
    const struct {
        const wchar_t* text;
        float expected;
    } accepted[] = {{L"5", 5},  {L" 2.5\t", 2.5f},  {L".5", 0.5f},
                    {L"7.", 7}, {L"-1.25e2", -125}, {L"0.2", 0.2f}};
    for (const auto& c : accepted) {
        SCOPED_TRACE(c.text);
        float value = 0;
        EXPECT_TRUE(parseExchangeFloat(c.text, value));
        EXPECT_EQ(value, c.expected);
    }
    for (const wchar_t* text : {L"", L" ", L".", L"5%", L"1,5", L"1e", L"e5", L"--1", L"0x10", L"inf", L"nan",
                                L"1e39", L"-1e39", L"1.2.3", L"５"}) {
        SCOPED_TRACE(text);
        float value = 3;
        EXPECT_FALSE(parseExchangeFloat(text, value));
        EXPECT_EQ(value, 3);
    }
    // Shown with up to six significant digits, and read back to the same value.
    EXPECT_EQ(formatExchangeFloat(12.3456789f), L"12.3457");
    EXPECT_EQ(formatExchangeFloat(1000000.0f), L"1e+06");
    for (float shown : {5.0f, -0.75f, 0.2f, 5000.0f, 8.51f, 0.333333f}) {
        float back = 0;
        EXPECT_TRUE(parseExchangeFloat(formatExchangeFloat(shown), back));
        EXPECT_EQ(back, shown) << formatExchangeFloat(shown);
    }
}

TEST(ExchangeText, ValidationMessagesCarryTheBoundsAsShown) {
    EXPECT_EQ(notAnIntegerMessage(), L"请输入一个整数。");
    EXPECT_EQ(notANumberMessage(), L"请输入一个数字。");
    EXPECT_EQ(integerRangeMessage(3, 60), L"请输入一个 3 至 60 之间的整数。");
    EXPECT_EQ(numberRangeMessage(0.2f, 5000.0f), L"请输入一个 0.2 至 5000 之间的数字。");
}

}  // namespace
}  // namespace halyard

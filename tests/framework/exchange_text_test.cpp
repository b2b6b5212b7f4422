#include "framework/exchange_text.h"

#include <gtest/gtest.h>

namespace halyard {
namespace {

TEST(ExchangeText, IntegersAreWholeSignedNumbersWithOptionalBlanks) {
    int value = -99;
    EXPECT_TRUE(parseExchangeInt(L"6", value));
    EXPECT_EQ(6, value);
    EXPECT_TRUE(parseExchangeInt(L"  -12\t", value));
    EXPECT_EQ(-12, value);
    EXPECT_TRUE(parseExchangeInt(L"+7", value));
    EXPECT_EQ(7, value);
    EXPECT_TRUE(parseExchangeInt(L"2147483647", value));
    EXPECT_EQ(2147483647, value);
}

TEST(ExchangeText, TextsThatAreNotIntegersLeaveTheValueAlone) {
    for (const wchar_t* text : {L"", L"   ", L"abc", L"12abc", L"1 2", L"3.5", L"-", L"+", L"1e2",
                                L"2147483648", L"-2147483649", L"99999999999999999999", L"６"}) {
        int value = 42;
        EXPECT_FALSE(parseExchangeInt(text, value)) << text;
        EXPECT_EQ(42, value) << text;
    }
}

TEST(ExchangeText, FloatsAcceptDecimalNotation) {
    float value = 0;
    EXPECT_TRUE(parseExchangeFloat(L"5", value));
    EXPECT_FLOAT_EQ(5.0f, value);
    EXPECT_TRUE(parseExchangeFloat(L" 2.5 ", value));
    EXPECT_FLOAT_EQ(2.5f, value);
    EXPECT_TRUE(parseExchangeFloat(L".5", value));
    EXPECT_FLOAT_EQ(0.5f, value);
    EXPECT_TRUE(parseExchangeFloat(L"7.", value));
    EXPECT_FLOAT_EQ(7.0f, value);
    EXPECT_TRUE(parseExchangeFloat(L"-1.25e2", value));
    EXPECT_FLOAT_EQ(-125.0f, value);
    EXPECT_TRUE(parseExchangeFloat(L"0.2", value));
    EXPECT_EQ(0.2f, value);
}

TEST(ExchangeText, TextsThatAreNotNumbersLeaveTheValueAlone) {
    for (const wchar_t* text : {L"", L" ", L".", L"abc", L"5%", L"1,5", L"1e", L"e5", L"--1", L"0x10", L"inf",
                                L"nan", L"1e39", L"-1e39", L"1.2.3", L"５"}) {
        float value = 3.0f;
        EXPECT_FALSE(parseExchangeFloat(text, value)) << text;
        EXPECT_EQ(3.0f, value) << text;
    }
}

TEST(ExchangeText, FloatsShowWithUpToSixSignificantDigits) {
    EXPECT_EQ(L"5", formatExchangeFloat(5.0f));
    EXPECT_EQ(L"2.5", formatExchangeFloat(2.5f));
    EXPECT_EQ(L"0.2", formatExchangeFloat(0.2f));
    EXPECT_EQ(L"5000", formatExchangeFloat(5000.0f));
    EXPECT_EQ(L"12.3457", formatExchangeFloat(12.3456789f));
    EXPECT_EQ(L"1e+06", formatExchangeFloat(1000000.0f));
    EXPECT_EQ(L"-0.75", formatExchangeFloat(-0.75f));
}

TEST(ExchangeText, ShownFloatsReadBackToTheSameValue) {
    for (float original : {5.0f, 2.5f, 0.2f, 10000.0f, 8.51f, 0.333333f}) {
        float back = 0;
        ASSERT_TRUE(parseExchangeFloat(formatExchangeFloat(original), back)) << original;
        EXPECT_EQ(original, back);
    }
}

TEST(ExchangeText, ValidationMessagesCarryTheBoundsAsShown) {
    EXPECT_EQ(L"请输入一个整数。", notAnIntegerMessage());
    EXPECT_EQ(L"请输入一个数字。", notANumberMessage());
    EXPECT_EQ(L"请输入一个 3 至 60 之间的整数。", integerRangeMessage(3, 60));
    EXPECT_EQ(L"请输入一个 0 至 10 之间的整数。", integerRangeMessage(0, 10));
    EXPECT_EQ(L"请输入一个 0.2 至 5000 之间的数字。", numberRangeMessage(0.2f, 5000.0f));
    EXPECT_EQ(L"请输入一个 0.2 至 10000 之间的数字。", numberRangeMessage(0.2f, 10000.0f));
}

}  // namespace
}  // namespace halyard

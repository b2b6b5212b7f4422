#include "simclient/order_check.h"

#include <gtest/gtest.h>

namespace halyard::simclient {
namespace {

class OrderCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        market.setCash(10000);
        market.setPosition(L"600000", L"浦发银行", 1000, 600, 8.50, 8.88);
        market.setPreviousClose(L"600000", 8.80);  // limits 7.92 .. 9.68
    }
    std::string reason(Side side, const std::wstring& code, const std::wstring& price,
                       const std::wstring& qty, bool loggedIn = true) {
        return checkOrder(market, loggedIn, side, code, price, qty).reason;
    }
    Market market;
};

TEST_F(OrderCheckTest, AcceptsPricesOnTheTickWhateverTheirDecimals) {
    for (const wchar_t* price : {L"8.88", L"9", L"9.680000", L"7.92", L" 8.5 "}) {
        const OrderCheck check = checkOrder(market, true, Side::Sell, L"600000", price, L"100");
        EXPECT_TRUE(check.accepted) << check.reason;
    }
    const OrderCheck check = checkOrder(market, true, Side::Sell, L"600000", L"9.000000", L"600");
    ASSERT_TRUE(check.accepted);
    EXPECT_DOUBLE_EQ(check.price, 9.00);
    EXPECT_EQ(check.quantity, 600);
    EXPECT_EQ(check.code, L"600000");
}

TEST_F(OrderCheckTest, RefusesPricesOffTheTickOrOutsideTheDailyLimit) {
    EXPECT_EQ(reason(Side::Sell, L"600000", L"8.885", L"100"), "off_tick");
    EXPECT_EQ(reason(Side::Sell, L"600000", L"9.010002", L"100"), "off_tick");
    EXPECT_EQ(reason(Side::Sell, L"600000", L"9.69", L"100"), "outside_limit");
    EXPECT_EQ(reason(Side::Buy, L"600000", L"7.91", L"100"), "outside_limit");
    EXPECT_EQ(reason(Side::Sell, L"600000", L"abc", L"100"), "invalid_price");
    EXPECT_EQ(reason(Side::Sell, L"600000", L"-8.88", L"100"), "invalid_price");
    EXPECT_EQ(reason(Side::Sell, L"600000", L"0", L"100"), "invalid_price");
    EXPECT_EQ(reason(Side::Sell, L"600000", L"8.", L"100"), "invalid_price");
}

TEST_F(OrderCheckTest, RefusesQuantitiesTheAccountCannotTrade) {
    EXPECT_EQ(reason(Side::Sell, L"600000", L"8.88", L"601"), "above_sellable") << "only 600 are sellable";
    EXPECT_TRUE(checkOrder(market, true, Side::Sell, L"600000", L"8.88", L"601").message.find(L"600") !=
                std::wstring::npos);
    EXPECT_EQ(reason(Side::Sell, L"600000", L"8.88", L"50"), "") << "odd lots may be sold";
    EXPECT_EQ(reason(Side::Buy, L"600000", L"8.88", L"150"), "not_board_lot");
    EXPECT_EQ(reason(Side::Buy, L"600000", L"8.88", L"1200"), "insufficient_funds");
    EXPECT_EQ(reason(Side::Buy, L"600000", L"8.88", L"1100"), "");
    EXPECT_EQ(reason(Side::Sell, L"600000", L"8.88", L"0"), "invalid_quantity");
    EXPECT_EQ(reason(Side::Sell, L"600000", L"8.88", L"1,00"), "invalid_quantity");
    market.place(Side::Sell, L"600000", 9.00, 600, L"");
    EXPECT_EQ(reason(Side::Sell, L"600000", L"8.88", L"100"), "above_sellable")
        << "a pending sell froze them";
}

TEST_F(OrderCheckTest, RefusesEmptyFieldsUnknownCodesAndALoggedOutAccount) {
    EXPECT_EQ(reason(Side::Sell, L"", L"8.88", L"100"), "empty_field");
    EXPECT_EQ(reason(Side::Sell, L"600000", L"", L"100"), "empty_field");
    EXPECT_EQ(reason(Side::Sell, L"600000", L"8.88", L" "), "empty_field");
    EXPECT_EQ(reason(Side::Sell, L"600001", L"8.88", L"100"), "unknown_code");
    EXPECT_EQ(reason(Side::Sell, L"600000", L"8.88", L"100", false), "not_logged_in");
    EXPECT_EQ(reason(Side::Sell, L"000001", L"8.88", L"100"), "unknown_code");
}

}  // namespace
}  // namespace halyard::simclient

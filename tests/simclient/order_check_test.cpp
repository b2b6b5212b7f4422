// The practice client's order checks: what a broker refuses, and why.
#include "simclient/order_check.h"

#include <gtest/gtest.h>

namespace halyard::simclient {
namespace {

TEST(OrderCheckTest, RefusesWhatABrokerRefusesAndAcceptsTheRest) {
    Market market;
    market.setCash(10000);
    market.setPosition(L"600000", L"浦发银行", 1000, 600, 8.50, 8.88);
    market.setPreviousClose(L"600000", 8.80);  // limits 7.92 .. 9.68
    const struct {
        Side side;
        const wchar_t *code, *price, *quantity;
        const char* reason;
    } cases[] = {
        {Side::Sell, L"600000", L"8.88", L"600", ""},
        {Side::Sell, L"600000", L" 8.5 ", L"50", ""},  // odd lots may be sold
        {Side::Buy, L"600000", L"7.92", L"100", ""},
        {Side::Buy, L"600000", L"8.88", L"1100", ""},
        {Side::Sell, L"600000", L"8.885", L"100", "off_tick"},
        {Side::Sell, L"600000", L"9.010002", L"100", "off_tick"},
        {Side::Sell, L"600000", L"9.69", L"100", "outside_limit"},
        {Side::Buy, L"600000", L"7.91", L"100", "outside_limit"},
        {Side::Sell, L"600000", L"abc", L"100", "invalid_price"},
        {Side::Sell, L"600000", L"0", L"100", "invalid_price"},
        {Side::Sell, L"600000", L"8.", L"100", "invalid_price"},
        {Side::Sell, L"600000", L"8.88", L"601", "above_sellable"},
        {Side::Buy, L"600000", L"8.88", L"150", "not_board_lot"},
        {Side::Buy, L"600000", L"8.88", L"1200", "insufficient_funds"},
        {Side::Sell, L"600000", L"8.88", L"0", "invalid_quantity"},
        {Side::Sell, L"600000", L"8.88", L"1,00", "invalid_quantity"},
        {Side::Sell, L"", L"8.88", L"100", "empty_field"},
        {Side::Sell, L"600000", L"", L"100", "empty_field"},
        {Side::Sell, L"600000", L"8.88", L" ", "empty_field"},
        {Side::Sell, L"600001", L"8.88", L"100", "unknown_code"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::wstring(c.price) + L" " + c.quantity);
        EXPECT_EQ(checkOrder(market, true, c.side, c.code, c.price, c.quantity).reason, c.reason);
    }
    const OrderCheck accepted = checkOrder(market, true, Side::Sell, L" 600000", L"9.000000", L"600");
    ASSERT_TRUE(accepted.accepted);
    EXPECT_DOUBLE_EQ(accepted.price, 9.00);
    EXPECT_EQ(accepted.quantity, 600);
    EXPECT_EQ(accepted.code, L"600000");
    EXPECT_NE(checkOrder(market, true, Side::Sell, L"600000", L"8.88", L"601").message.find(L"600"),
              std::wstring::npos);
    EXPECT_EQ(checkOrder(market, false, Side::Sell, L"600000", L"8.88", L"100").reason, "not_logged_in");
    // Pending orders hold what they froze: the shares of a sell, the cash of a buy.
    market.place(Side::Sell, L"600000", 9.00, 600, L"");
    market.place(Side::Buy, L"600000", 8.00, 100, L"");
    EXPECT_EQ(checkOrder(market, true, Side::Sell, L"600000", L"8.88", L"100").reason, "above_sellable");
    EXPECT_EQ(checkOrder(market, true, Side::Buy, L"600000", L"8.88", L"1100").reason, "insufficient_funds");
}

}  // namespace
}  // namespace halyard::simclient

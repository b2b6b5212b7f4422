// The practice client's market: frozen shares and cash, fills, limits, and its commands.
#include "simclient/market.h"

#include <gtest/gtest.h>

#include "simclient/market_commands.h"

namespace halyard::simclient {
namespace {

// Quantity, sellable and frozen shares of the position of `code`, or "none".
std::string holding(const Market& market, const wchar_t* code) {
    const Position* p = market.position(code);
    if (!p) return "none";
    return std::to_string(p->quantity) + "/" + std::to_string(p->sellable) + "/" + std::to_string(p->frozen);
}

class MarketTest : public ::testing::Test {
protected:
    void SetUp() override {
        market.setCash(100000);
        market.setPosition(L"600000", L"浦发银行", 1000, 800, 8.50, 8.88);
    }
    Market market;
};

TEST_F(MarketTest, PendingOrdersFreezeUntilCancelledAndFillWhenThePriceReachesThem) {
    const int id = market.place(Side::Sell, L"600000", 9.00, 300, L"10:00:00");
    EXPECT_EQ(holding(market, L"600000"), "1000/500/300");
    ASSERT_TRUE(market.cancel(id));
    EXPECT_EQ(holding(market, L"600000"), "1000/800/0");
    EXPECT_FALSE(market.cancel(id)) << "an order is cancelled once";
    market.place(Side::Sell, L"600000", 9.00, 300, L"");
    market.place(Side::Buy, L"600000", 8.50, 200, L"");
    EXPECT_TRUE(market.setPrice(L"600000", 8.99, L"").empty());
    ASSERT_EQ(market.setPrice(L"600000", 9.00, L"").size(), 1u);
    EXPECT_EQ(holding(market, L"600000"), "700/500/0");
    EXPECT_DOUBLE_EQ(market.cash(), 100000 + 2700);
    EXPECT_TRUE(market.setPrice(L"600000", 8.51, L"").empty());
    EXPECT_EQ(market.setPrice(L"600000", 8.40, L"").size(), 1u) << "a buy fills at or below its limit";
    EXPECT_TRUE(market.pendingOrders().empty());
}

TEST_F(MarketTest, BoughtSharesAreNotSellableTheSameDayAndSellingAllRemovesThePosition) {
    const int id = market.place(Side::Buy, L"600000", 9.50, 1000, L"");
    EXPECT_DOUBLE_EQ(market.availableCash(), 100000 - 9500);
    ASSERT_TRUE(market.fill(std::to_wstring(id), L""));
    EXPECT_EQ(holding(market, L"600000"), "2000/800/0");
    EXPECT_DOUBLE_EQ(market.position(L"600000")->cost, 9.0);
    EXPECT_DOUBLE_EQ(market.cash(), 100000 - 9500);
    EXPECT_DOUBLE_EQ(market.availableCash(), market.cash());
    market.setStock(L"601398", L"工商银行", 5.20);
    market.place(Side::Buy, L"601398", 5.20, 100, L"");
    ASSERT_TRUE(market.fill(L"601398", L""));
    EXPECT_EQ(holding(market, L"601398"), "100/0/0");
    market.setPosition(L"600000", L"浦发银行", 800, 800, 8.50);
    market.place(Side::Sell, L"600000", 8.88, 800, L"");
    ASSERT_TRUE(market.fill(L"all", L""));
    EXPECT_EQ(holding(market, L"600000"), "none");
    EXPECT_NE(market.stock(L"600000"), nullptr) << "the stock stays tradable";
}

TEST_F(MarketTest, FillSelectsByIdThenByCode) {
    market.setStock(L"000001", L"平安银行", 10.35);
    const int a = market.place(Side::Buy, L"000001", 10.00, 100, L"");
    market.place(Side::Buy, L"000001", 10.10, 100, L"");
    market.place(Side::Sell, L"600000", 9.50, 100, L"");
    EXPECT_EQ(market.fill(std::to_wstring(a), L"")->size(), 1u);
    EXPECT_EQ(market.fill(L"000001", L"")->size(), 1u);
    EXPECT_FALSE(market.fill(L"000001", L"")) << "nothing left for that code";
    EXPECT_FALSE(market.fill(L"999", L""));
    EXPECT_EQ(market.fill(L"all", L"")->size(), 1u);
    EXPECT_TRUE(market.fill(L"all", L"")) << "all with nothing pending is not an error";
}

TEST_F(MarketTest, LimitsAreTenPercentOfThePreviousCloseOnTheTickTwentyOnTheGrowthBoards) {
    market.setPreviousClose(L"600000", 8.83);
    EXPECT_DOUBLE_EQ(market.upperLimit(L"600000"), 9.71);
    EXPECT_DOUBLE_EQ(market.lowerLimit(L"600000"), 7.95);
    EXPECT_EQ(market.maxBuyable(L"600000", 9.71), 10200);
    EXPECT_EQ(market.maxBuyable(L"999999", 9.71), 0);
    market.setStock(L"600000", L"浦发银行", 9.00, 9.50);
    EXPECT_DOUBLE_EQ(market.upperLimit(L"600000"), 10.45);
    for (const wchar_t* code : {L"300750", L"301001", L"688981"}) {
        market.setStock(code, L"成长", 40.00, 41.27);
        EXPECT_DOUBLE_EQ(market.lowerLimit(code), 33.02) << code;
        EXPECT_DOUBLE_EQ(market.upperLimit(code), 49.52) << code;
    }
}

TEST(MarketCommandsTest, CommandsChangeTheMarketAndReportFillsAndCancellations) {
    Market market;
    auto run = [&](std::vector<std::wstring> words) { return runMarketCommand(market, words, L"09:30:00"); };
    EXPECT_TRUE(run({L"position", L"600000", L"浦发银行", L"1000", L"1000", L"8.5", L"8.88"}).ok);
    EXPECT_DOUBLE_EQ(market.stock(L"600000")->previousClose, 8.88);
    EXPECT_FALSE(run({L"position", L"600000", L"浦发银行", L"100", L"200", L"8.5"}).ok)
        << "sellable above all";
    EXPECT_FALSE(run({L"price", L"600000", L"abc"}).ok);
    EXPECT_FALSE(run({L"price", L"123456", L"1"}).ok);
    EXPECT_FALSE(run({L"close", L"123456", L"1"}).ok);
    EXPECT_TRUE(run({L"close", L"600000", L"8.00"}).ok);
    EXPECT_DOUBLE_EQ(market.upperLimit(L"600000"), 8.80);
    market.place(Side::Sell, L"600000", 9.00, 400, L"");
    const auto filled = run({L"price", L"600000", L"9.05"});
    ASSERT_EQ(filled.trades.size(), 1u);
    EXPECT_DOUBLE_EQ(filled.trades[0].price, 9.00) << "a resting order trades at its own price";
    market.place(Side::Sell, L"600000", 9.50, 100, L"");
    EXPECT_EQ(run({L"remove", L"600000"}).cancelled.size(), 1u);
    EXPECT_FALSE(run({L"remove", L"600000"}).ok);
    EXPECT_FALSE(run({L"hang", L"10"}).handled) << "not a market command";
}

}  // namespace
}  // namespace halyard::simclient

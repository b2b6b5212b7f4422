// Halyard.exe selling through the simulated client: stop loss, take profit, trailing stop (also
// one armed before a list still loading), alert-only, sellable 0, two triggers in one cycle,
// 追单 and its absence.
#include <gtest/gtest.h>

#include "common/text_encoding.h"
#include "e2e/scenario.h"

namespace e2e {
namespace {

using SalesScenario = Scenario;

TEST_F(SalesScenario, StopLossesSellOnceEachTheSecondInALaterCycle) {
    // 600036 was bought today (nothing sellable); 000858 only alerts. Both are in loss from the
    // start. The two falls arrive together, 20 s after the client started.
    startClient(std::string(kPortfolio) +
                "position 600036 招商银行 1000 0 40.00 36.00\nclose 600036 36.00\n"
                "position 000858 五粮液 200 200 160.00 142.50\nclose 000858 142.50\n"
                "at 20000 price 600000 7.92\nat 20000 price 000001 10.90\n");
    RuleTable rules;
    rules[L"600000"] = stopLossRule(L"600000", 5, 0, 2);
    rules[L"000001"] = stopLossRule(L"000001", 11.0f, 1);
    rules[L"600036"] = stopLossRule(L"600036", 5);
    rules[L"000858"] = stopLossRule(L"000858", 5);
    rules[L"000858"].MessageOnly = 1;
    startHalyard(rules, 10, 0, 0);
    expectMainWindow();
    screenshot("before");

    ASSERT_TRUE(waitForSellOrders(3, 60000));
    Sleep(8000);  // more cycles: nothing is sold twice
    screenshot("after");
    const auto sells = sellOrders();
    ASSERT_EQ(sells.size(), 3u);
    // 600000 is at its limit-down price: two units below it is refused, the next sale goes at it.
    EXPECT_EQ(sells[0].field("code"), "600000");
    EXPECT_EQ(sells[0].field("quantity"), "10000");
    EXPECT_DOUBLE_EQ(priceOf(sells[0]), 7.90);
    EXPECT_EQ(sells[1].field("code"), "600000");
    EXPECT_DOUBLE_EQ(priceOf(sells[1]), 7.92);
    EXPECT_EQ(sells[2].field("code"), "000001");
    EXPECT_EQ(sells[2].field("quantity"), "5000");
    EXPECT_DOUBLE_EQ(priceOf(sells[2]), 10.90);
    EXPECT_EQ(client->events("order_accepted").size(), 2u);

    const std::wstring journal = halyardJournal();
    // The second trigger of that cycle was refused by the spacing of sales, and said so.
    EXPECT_GE(count(journal, L"卖出 000001 平安银行 价格 10.9 数量 5000 结果 -2 未提交"), 1u)
        << ::halyard::toUtf8(journal);
    EXPECT_EQ(count(journal, L"卖出 000001 平安银行 价格 10.9 数量 5000 结果 1 已提交"), 1u);
    EXPECT_EQ(count(journal, L"卖出 600000 浦发银行 按最新价, 不减价: 上次卖出被券商拒绝"), 1u);
    EXPECT_EQ(count(journal, L"触发 600036"), 0u);
    EXPECT_GE(count(journal, L"触发 000858 五粮液 满足止损条件"), 3u);  // alert-only repeats every cycle

    ASSERT_TRUE(halyard->close());
    halyard.reset();
    // At exit: the rules with their high-water marks, and the main window's three settings.
    RuleTable saved = rulesOnDisk();
    ASSERT_EQ(saved.size(), 4u);
    EXPECT_FLOAT_EQ(saved[L"600000"].High, 8.88f);
    EXPECT_FLOAT_EQ(saved[L"000858"].High, 142.5f);
    EXPECT_EQ(saved[L"000858"].MessageOnly, 1);
    EXPECT_EQ(readMonitorSetting(L"Timer", -1), 3);
    EXPECT_EQ(readMonitorSetting(L"TraceOrdr", -1), 1);
    EXPECT_EQ(readMonitorSetting(L"NeverFoundValidBroke", -1), 0);
}

TEST_F(SalesScenario, TrailingStopArmsThenFiresAndTakeProfitSells) {
    startClient(
        "position 600519 贵州茅台 100 100 1650.00 1688.00\nclose 600519 1700.00\n"
        "position 601398 工商银行 1000 1000 5.00 5.20\nclose 601398 5.20\n");
    RuleTable rules;
    StockRule takeProfit;
    takeProfit.Code = L"600519";
    takeProfit.Profit = 5;
    rules[L"600519"] = takeProfit;
    StockRule trailing;
    trailing.Code = L"601398";
    trailing.ApplyMoveStopLoss = true;
    trailing.MoveStopLossTriggerPrice = 5;
    trailing.MoveStopLoss = 2;
    rules[L"601398"] = trailing;
    startHalyard(rules, 13, 30, 0);
    expectMainWindow();

    ASSERT_TRUE(client->send(L"price 601398 5.40"));  // +8 %: arms, High 5.40
    Sleep(8000);
    RuleTable running = rulesOnDisk();  // saved after the cycle that armed it
    EXPECT_TRUE(running[L"601398"].HasTrigerMoveStopPrice);
    EXPECT_FLOAT_EQ(running[L"601398"].High, 5.40f);
    ASSERT_TRUE(client->send(L"price 601398 5.30"));  // a fall of 1.85 %: holds
    Sleep(8000);
    EXPECT_TRUE(sellOrders().empty());
    ASSERT_TRUE(client->send(L"price 601398 5.29"));  // 2.04 %: fires
    ASSERT_TRUE(waitForSellOrders(1));
    Sleep(3500);
    ASSERT_TRUE(client->send(L"price 600519 1740.00"));  // +5.45 %
    ASSERT_TRUE(waitForSellOrders(2));

    const auto sells = sellOrders();
    EXPECT_EQ(sells[0].field("code"), "601398");
    EXPECT_EQ(sells[0].field("quantity"), "1000");
    EXPECT_DOUBLE_EQ(priceOf(sells[0]), 5.29);
    EXPECT_EQ(sells[1].field("code"), "600519");
    EXPECT_EQ(sells[1].field("quantity"), "100");
    EXPECT_DOUBLE_EQ(priceOf(sells[1]), 1740.0);
    const std::wstring journal = halyardJournal();
    EXPECT_EQ(count(journal, L"满足跟踪止损条件"), 1u + count(journal, L"提醒 声音 MoveStopLoss.wav"));
    EXPECT_EQ(count(journal, L"触发 600519 贵州茅台 满足止盈条件"), 1u);
}

// A list still loading after a log-in reads as no rows: the armed stop (+5 %, 2 % below a high
// of 13.00) and its high stay.
TEST_F(SalesScenario, AnArmedTrailingStopOutlastsAListStillLoading) {
    startClient("position 601398 工商银行 1000 1000 12.00 12.90\nclose 601398 12.90\n");
    ASSERT_TRUE(client->send(L"loading on"));
    startHalyard({{L"601398", StockRule{L"601398", 0, 0, 5, 2, 13.00f, true, true}}}, 10, 0, 0);
    expectMainWindow();
    Sleep(20000);
    ASSERT_TRUE(client->send(L"loading off"));
    ASSERT_TRUE(client->send(L"price 601398 12.71"));  // 2.23 % below 13.00, 1.47 % below 12.90
    ASSERT_TRUE(waitForSellOrders(1)) << ::halyard::toUtf8(halyardJournal());
    EXPECT_DOUBLE_EQ(priceOf(sellOrders()[0]), 12.71);
}

TEST_F(SalesScenario, PendingSellIsLeftAloneWithoutTraceOrderAndChasedWithIt) {
    startClient(kPortfolio);
    RuleTable rules;
    rules[L"600000"] = stopLossRule(L"600000", 5);
    startHalyard(rules, 10, 30, 0, /*traceOrder=*/0);
    expectMainWindow();
    EXPECT_EQ(SendMessageW(GetDlgItem(mainWindow, 1008), BM_GETCHECK, 0, 0), BST_UNCHECKED);

    ASSERT_TRUE(client->send(L"price 600000 8.00"));
    ASSERT_TRUE(waitForSellOrders(1));
    ASSERT_TRUE(client->events("order_accepted").size() == 1u ||
                client->waitForEvents("order_accepted", 1, 10000));
    // More shares become sellable while the first order is still pending.
    ASSERT_TRUE(client->send(L"position 600000 浦发银行 20000 10000 8.50 8.00"));
    Sleep(12000);
    EXPECT_EQ(sellOrders().size(), 1u);
    EXPECT_TRUE(client->events("order_cancelled").empty());

    // 追单 on: the pending order is cancelled first, then the sellable quantity is sold.
    PostMessageW(GetDlgItem(mainWindow, 1008), BM_CLICK, 0, 0);
    ASSERT_TRUE(client->waitForEvents("order_cancelled", 1, 30000));
    ASSERT_TRUE(waitForSellOrders(2));
    screenshot("chased");
    const auto cancelled = client->events("order_cancelled");
    EXPECT_EQ(cancelled[0].field("id"), "1");
    EXPECT_EQ(cancelled[0].field("code"), "600000");
    const auto sells = sellOrders();
    EXPECT_EQ(sells[1].field("code"), "600000");
    EXPECT_EQ(sells[1].field("quantity"), "10000");
    EXPECT_LT(std::stoi(cancelled[0].field("t")), std::stoi(sells[1].field("t")));
    EXPECT_GE(count(halyardJournal(), L"撤单 600000 浦发银行 未成交卖单 10000 结果 1"), 1u);
}

}  // namespace
}  // namespace e2e

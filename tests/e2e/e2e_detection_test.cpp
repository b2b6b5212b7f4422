// A new user: no broker configuration beside the program, the practice client running. The
// start-up offer of detection is accepted, the layout is learnt, and a stop loss then sells.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "common/text_encoding.h"
#include "e2e/scenario.h"

namespace e2e {
namespace {

using DetectionScenario = Scenario;

TEST_F(DetectionScenario, FirstStartLearnsTheClientAndThenSellsThroughAStopLoss) {
    startClient(kPortfolio, L"--title 模拟证券交易系统 --toolbar-offset 5 --button-width 16");
    RuleTable rules;
    rules[L"600000"] = stopLossRule(L"600000", 5);
    startHalyard(rules, 10, 0, 0, 1, /*neverFoundValidBroker=*/1, /*brokerFile=*/false);

    HWND offer = halyard->waitForMessageBox(30000);
    ASSERT_NE(offer, nullptr);
    const std::wstring text = messageBoxText(offer);
    EXPECT_NE(text.find(L"是否配置券商?\n错误信息:找不到券商软件主窗口"), std::wstring::npos)
        << ::halyard::toUtf8(text);
    pressMessageBoxButton(offer, IDOK);
    for (int i = 0; i < 300 && IsWindow(offer); ++i) Sleep(20);
    HWND detecting = nullptr;
    for (int i = 0; i < 100 && !detecting; ++i) {
        detecting = halyard->waitForMessageBox(100);
        if (detecting == offer) detecting = nullptr;
    }
    ASSERT_NE(detecting, nullptr);
    screenshot("detecting");

    expectMainWindow();
    // Connected to the learnt layout: the list shows the client's two positions.
    EXPECT_EQ(SendMessageW(GetDlgItem(mainWindow, 1000), LVM_GETITEMCOUNT, 0, 0), 2);
    const std::string saved = readSharedFile(programFolder() + L"broker_config.xml");
    EXPECT_NE(saved.find("Select=\"模拟证券交易系统\""), std::string::npos)
        << "saved as soon as it was learnt";
    const std::wstring journal = halyardJournal();
    EXPECT_EQ(count(journal,
                    L"学到券商布局 模拟证券交易系统 买入(10,20) 卖出(22,20) 撤单(37,20) 撤单2(20,20) "
                    L"持仓(55,20) 持仓列 证券代码,证券名称,"),
              1u)
        << ::halyard::toUtf8(journal);

    ASSERT_TRUE(client->send(L"price 600000 8.00"));
    ASSERT_TRUE(waitForSellOrders(1, 40000));
    screenshot("sold");
    const auto sells = sellOrders();
    EXPECT_EQ(sells[0].field("code"), "600000");
    EXPECT_EQ(sells[0].field("quantity"), "10000");
    EXPECT_DOUBLE_EQ(priceOf(sells[0]), 8.00);
    // A detection at start-up does not count as a broker ever found.
    ASSERT_TRUE(halyard->close());
    halyard.reset();
    EXPECT_EQ(readMonitorSetting(L"NeverFoundValidBroke", -1), 1);
}

// The same first start against a client whose lists are drawn grids; its captcha waits for the investor.
TEST_F(DetectionScenario, FirstStartLearnsAGridClientAndGoesOnOnceTheInvestorAnswersTheCaptcha) {
    startClient(kPortfolio, L"--family grid --captcha-first 4 --captcha-every 0");
    RuleTable rules;
    rules[L"600000"] = stopLossRule(L"600000", 5);
    rules[L"000001"] = stopLossRule(L"000001", 5);
    startHalyard(rules, 10, 0, 0, 1, /*neverFoundValidBroker=*/1, /*brokerFile=*/false);
    HWND offer = halyard->waitForMessageBox(30000);
    ASSERT_NE(offer, nullptr);
    pressMessageBoxButton(offer, IDOK);
    for (int i = 0; i < 300 && IsWindow(offer); ++i) Sleep(20);
    // Saved as soon as it was learnt; the detection's window closes once it is connected.
    const std::wstring configFile = programFolder() + L"broker_config.xml";
    for (int i = 0; i < 600 && readSharedFile(configFile).find("Family=\"grid\"") == std::string::npos; ++i)
        Sleep(100);
    ASSERT_NE(readSharedFile(configFile).find("Family=\"grid\""), std::string::npos);
    for (int i = 0; i < 300 && findMessageBox(halyard->processId()); ++i) Sleep(100);
    expectMainWindow();
    EXPECT_EQ(SendMessageW(GetDlgItem(mainWindow, 1000), LVM_GETITEMCOUNT, 0, 0), 2);

    ASSERT_TRUE(client->send(L"price 600000 8.00"));
    ASSERT_TRUE(waitForSellOrders(1, 40000)) << ::halyard::toUtf8(halyardJournal());
    const auto sold = sellOrders()[0];
    EXPECT_EQ(sold.field("code") + " " + sold.field("quantity") + " " + sold.field("price"),
              "600000 10000 8");
    ASSERT_TRUE(client->waitForEvents("order_accepted", 1, 10000));
    const std::string contract = client->events("order_accepted")[0].field("id");
    ASSERT_TRUE(client->waitForEvents("captcha_asked", 1, 40000));
    for (int i = 0; i < 50 && count(halyardJournal(), L"券商软件要求输入验证码") == 0; ++i) Sleep(200);
    const std::wstring journal = halyardJournal();
    EXPECT_EQ(count(journal, L"合同编号 " + ::halyard::fromUtf8(contract)), 1u) << ::halyard::toUtf8(journal);
    EXPECT_EQ(count(journal, L"券商软件要求输入验证码"), 1u) << "told once, never answered";
    EXPECT_TRUE(client->events("captcha_answered").empty());

    ASSERT_TRUE(
        client->send(L"captcha " + ::halyard::fromUtf8(client->events("captcha_asked")[0].field("code"))));
    ASSERT_TRUE(client->waitForEvents("grid_copied", 5, 20000));
    // More shares become sellable while the first order is pending; the copy after the next sale
    // shows them, and 追单 cancels that order through the 撤单 page before selling again.
    ASSERT_TRUE(client->send(L"position 600000 浦发银行 20000 10000 8.50 8.00"));
    ASSERT_TRUE(client->send(L"position 000858 五粮液 1000 1000 150.00 151.00"));
    ASSERT_TRUE(client->send(L"price 000001 10.60"));
    ASSERT_TRUE(client->waitForEvents("order_accepted", 2, 40000)) << ::halyard::toUtf8(halyardJournal());
    ASSERT_TRUE(client->waitForEvents("order_cancelled", 1, 40000)) << ::halyard::toUtf8(halyardJournal());
    ASSERT_TRUE(waitForSellOrders(3, 40000));
    const auto cancelled = client->events("order_cancelled")[0];
    const auto chased = sellOrders()[2];
    EXPECT_EQ(cancelled.field("id") + " " + chased.field("code") + " " + chased.field("quantity"),
              "1 600000 10000");
    EXPECT_LT(std::stoi(cancelled.field("t")), std::stoi(chased.field("t")));

    // 全平 sells what is still sellable: the holding without a rule and what the cancel gave back.
    Sleep(4000);  // past the spacing of sales
    const auto answer = [&](int button) {
        HWND box = halyard->waitForMessageBox(20000);
        const std::wstring text = box ? messageBoxText(box) : L"";
        if (box) pressMessageBoxButton(box, button);
        for (int i = 0; i < 300 && box && IsWindow(box); ++i) Sleep(20);
        return ::halyard::toUtf8(text);
    };
    PostMessageW(GetDlgItem(mainWindow, 1020), BM_CLICK, 0, 0);
    EXPECT_EQ(answer(IDOK), "确定要全部平仓?");
    const std::string summary = answer(IDOK);
    EXPECT_EQ(summary.rfind("全平结束: 2 笔已提交, 0 笔没有卖出", 0), 0u) << summary;
    EXPECT_EQ(sellOrdersOf("000858").at(0).field("quantity"), "1000");
    EXPECT_EQ(sellOrdersOf("600000").size(), 3u) << "the stop loss, 追单 and 全平, each once";
}

}  // namespace
}  // namespace e2e

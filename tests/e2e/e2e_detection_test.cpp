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

}  // namespace
}  // namespace e2e

// Halyard.exe staying in contact with the simulated client: the client is closed and started
// again, then rebuilds its pages, while Halyard monitors; each time the next fall through a stop
// loss is sold once, through the client as it is now, and the window and journal say what happened.
#include <gtest/gtest.h>

#include "common/text_encoding.h"
#include "e2e/scenario.h"
#include "res/resource.h"
#include "rules/monitor_cycle.h"

namespace e2e {
namespace {

using ContactScenario = Scenario;

std::wstring statusLine(HWND mainWindow) {
    wchar_t text[256] = {};
    GetWindowTextW(GetDlgItem(mainWindow, IDC_CONTACT_STATUS), text, 256);
    return text;
}

bool waitForStatus(HWND mainWindow, const std::wstring& part, DWORD timeoutMs = 30000) {
    const DWORD start = GetTickCount();
    while (statusLine(mainWindow).find(part) == std::wstring::npos) {
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(100);
    }
    return true;
}

TEST_F(ContactScenario, ARestartedOrRebuiltClientIsFoundAgainAndTheNextFallIsSoldOnce) {
    startClient(kPortfolio);
    RuleTable rules;
    rules[L"600000"] = stopLossRule(L"600000", 5);
    rules[L"000001"] = stopLossRule(L"000001", 5);
    startHalyard(rules, 10, 0, 0);
    expectMainWindow();
    EXPECT_TRUE(waitForStatus(mainWindow, L"上次读取")) << ::halyard::toUtf8(statusLine(mainWindow));
    EXPECT_EQ(statusLine(mainWindow).rfind(L"已连接 ", 0), 0u) << ::halyard::toUtf8(statusLine(mainWindow));

    // Closed: Halyard says so and acts on nothing.
    client.reset();
    EXPECT_TRUE(waitForStatus(mainWindow, L"未连接券商: 找不到券商软件主窗口"))
        << ::halyard::toUtf8(statusLine(mainWindow));
    screenshot("lost");

    // Started again with the same title; the stock falls through its stop 8 s later.
    startClient(std::string(kPortfolio) + "at 8000 price 600000 8.00\n");
    ASSERT_TRUE(waitForSellOrders(1, 40000));
    EXPECT_TRUE(waitForStatus(mainWindow, L"已连接 ")) << ::halyard::toUtf8(statusLine(mainWindow));
    screenshot("found-again");

    // The pages are rebuilt (handles stale, same process); the other stock falls.
    ASSERT_TRUE(client->send(L"destroy-panels"));
    Sleep(500);
    ASSERT_TRUE(client->send(L"price 000001 10.50"));
    ASSERT_TRUE(waitForSellOrders(2, 40000));
    Sleep(7000);  // more cycles: nothing is sold twice
    const auto sells = sellOrders();
    ASSERT_EQ(sells.size(), 2u);
    EXPECT_EQ(sells[0].field("code"), "600000");
    EXPECT_EQ(sells[0].field("quantity"), "10000");
    EXPECT_EQ(sells[1].field("code"), "000001");

    const std::wstring journal = halyardJournal();
    EXPECT_EQ(count(journal, L"与券商软件失去连接: 找不到券商软件主窗口"), 1u) << ::halyard::toUtf8(journal);
    EXPECT_GE(count(journal, L"已重新连接券商软件"), 1u);
    EXPECT_EQ(count(journal, L"券商软件的窗口已关闭或重建, 已重新连接"), 1u);
    EXPECT_EQ(count(journal, L"卖出确认 600000 浦发银行 数量 10000 已确认"), 1u);
    EXPECT_GE(count(journal, L"券商提示: 委托已提交"), 2u);
}

// A client that stops answering for 100 s: the contact alert within 75 s, the sale once it answers.
TEST_F(ContactScenario, AHungClientIsAlertedWithinAMinuteAndTheFallIsSoldOnceItAnswers) {
    startClient(kPortfolio);
    RuleTable rules;
    rules[L"600000"] = stopLossRule(L"600000", 5);
    startHalyard(rules, 10, 0, 0);
    expectMainWindow();
    ASSERT_TRUE(waitForStatus(mainWindow, L"上次读取"));
    const DWORD hungAt = GetTickCount();
    ASSERT_TRUE(client->send(L"hang 100000"));
    while (count(halyardJournal(), kContactLostAlert) == 0 && GetTickCount() - hungAt < 75000) Sleep(500);
    EXPECT_EQ(count(halyardJournal(), kContactLostAlert), 1u) << ::halyard::toUtf8(halyardJournal());
    while (!client->send(L"price 600000 8.00") && GetTickCount() - hungAt < 130000) Sleep(1000);
    ASSERT_TRUE(waitForSellOrders(1, 40000));
    EXPECT_EQ(count(halyardJournal(), kContactBackAlert), 1u);
}

}  // namespace
}  // namespace e2e

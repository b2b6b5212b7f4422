// The trading-hours gate as the program sees the clock (TZ): no sale before 9:15, one from then;
// the start-up cycle reads at any time but acts only in trading hours.
#include <gtest/gtest.h>

#include "e2e/scenario.h"

namespace e2e {
namespace {

using GateScenario = Scenario;

constexpr int at(int hour, int minute, int second) {
    return hour * 3600 + minute * 60 + second;
}

RuleTable bothStopLosses() {
    RuleTable rules;
    rules[L"600000"] = stopLossRule(L"600000", 5);
    rules[L"000001"] = stopLossRule(L"000001", 5);
    return rules;
}

TEST_F(GateScenario, MorningSessionOpensAtQuarterPastNine) {
    startClient(kPortfolio);
    startHalyard(bothStopLosses(), 9, 14, 40);
    expectMainWindow();
    ASSERT_TRUE(client->send(L"price 600000 8.00"));
    while (localNow() < at(9, 14, 59)) {
        ASSERT_TRUE(sellOrders().empty()) << "sold before 9:15";
        Sleep(200);
    }
    ASSERT_TRUE(waitForSellOrders(1, 20000));
    EXPECT_GE(localNow(), at(9, 15, 0));
    EXPECT_EQ(sellOrders()[0].field("code"), "600000");
}

TEST_F(GateScenario, StartUpCycleAfterTheCloseReadsButNeitherSellsNorAlerts) {
    startClient(
        "position 600000 浦发银行 10000 10000 8.50 8.00\nclose 600000 8.80\n"
        "position 000001 平安银行 5000 5000 11.20 11.30\nclose 000001 11.25\n");
    startHalyard(bothStopLosses(), 15, 0, 5);
    expectMainWindow();
    ASSERT_TRUE(client->send(L"price 000001 10.50"));
    Sleep(12000);
    EXPECT_TRUE(sellOrders().empty());
    EXPECT_FLOAT_EQ(rulesOnDisk()[L"600000"].High, 8.00f) << "the start-up cycle read the positions";
}

}  // namespace
}  // namespace e2e

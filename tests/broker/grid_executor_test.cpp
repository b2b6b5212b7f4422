// The grid executor against the simulated grid client: a session from connect to cancel.
#include <gtest/gtest.h>

#include "broker/client_windows.h"
#include "broker/grid_order_executor.h"
#include "broker/grid_popups.h"
#include "broker/result_codes.h"
#include "sim_broker.h"
#include "sim_orders.h"
#include "support/sim_grid_config.h"

namespace {

constexpr DWORD kPastSpacingMs = 3100;

bool anyNotice(const std::vector<std::wstring>& notices, const std::wstring& part) {
    return std::any_of(notices.begin(), notices.end(),
                       [&](const std::wstring& n) { return n.find(part) != std::wstring::npos; });
}

PositionRow held(const wchar_t* code) {
    return PositionSnapshotStore::instance()->copyPositionsByCode()[code];
}

TEST(GridExecutor, ReadsSellsRefusesCancelsAndLeavesTheCaptchaToTheInvestor) {
    const std::wstring title = L"网上股票交易系统5.0 " + std::to_wstring(GetCurrentProcessId());
    SimClientProcess client(
        {L"--family", L"grid", L"--title", title, L"--captcha-first", L"2", L"--captcha-every", L"0"},
        kSameWidthClient);
    ASSERT_TRUE(client.started()) << client.error();
    ExecutorSession session(simGridConfig(title));
    GridOrderExecutor executor;
    ASSERT_EQ(executor.connect(), 1) << executor.lastErrorText();
    EXPECT_EQ(held(L"600000").sellableQuantity, 10000);
    EXPECT_EQ(executor.positionsReadFailure(), L"");

    // Between copies the price comes from the sell form, which is left as it was.
    ASSERT_TRUE(client.send(L"price 600000 9.01"));
    Sleep(kPastSpacingMs);
    executor.refreshPositions();
    EXPECT_FLOAT_EQ(held(L"600000").currentPrice, 9.01f);
    EXPECT_EQ(eventsNamed(client, "grid_copied").size(), 1u) << "no copy without a change";

    // The market notices the client shows after the order are not its answer.
    ASSERT_TRUE(client.send(L"storm-after-order 3"));
    ASSERT_EQ(executor.sell(L"600000", 300, 9.50f, 0), 1) << executor.lastErrorText();
    const auto accepted = client.waitFor("order_accepted");
    ASSERT_TRUE(accepted);
    const std::wstring contract = std::to_wstring(static_cast<long long>(accepted->number("id")));
    EXPECT_TRUE(anyNotice(executor.takeClientNotices(), L"合同编号 " + contract));

    // The copy after the sale meets the captcha: told once, never answered by the executor.
    executor.refreshPositions();
    executor.refreshPositions();
    const auto asked = client.waitFor("captcha_asked");
    ASSERT_TRUE(asked);
    const std::vector<std::wstring> notices = executor.takeClientNotices();
    EXPECT_EQ(std::count(notices.begin(), notices.end(), L"券商软件要求输入验证码"), 1);
    EXPECT_NE(findCaptcha(client.processId()), nullptr);
    EXPECT_TRUE(eventsNamed(client, "captcha_answered").empty());
    unsigned learnt = 0;
    EXPECT_EQ(executor.learn(findClientWindowByTitle(title.c_str()), learnt), nullptr);
    EXPECT_EQ(executor.lastErrorCode(), kClientAsksCaptcha) << "a detection meanwhile names the captcha";
    ASSERT_TRUE(client.send(L"captcha " + asked->text("code")));
    ASSERT_TRUE(waitUntil([&] { return !findCaptcha(client.processId()); }));
    executor.refreshPositions();
    EXPECT_EQ(held(L"600000").sellableQuantity, 9700) << "the executor went on by itself";

    Sleep(kPastSpacingMs);
    EXPECT_EQ(executor.sell(L"600000", 100, 8.885f, 0), kOrderRefused);
    EXPECT_TRUE(anyNotice(executor.takeClientNotices(), L"被券商拒绝"));
    EXPECT_EQ(eventsNamed(client, "order_accepted").size(), 1u);

    EXPECT_EQ(executor.pendingOrderQuantity(L"600000", kSellDirection), 300.0f);
    EXPECT_TRUE(executor.cancelOrder(L"600000", kSellDirection)) << executor.lastErrorText();
    EXPECT_TRUE(
        anyNotice(executor.takeClientNotices(), L"撤单 600000 合同编号 " + contract + L": 撤单已提交"))
        << "the sale's market notices still open are not the cancel's answer";
    EXPECT_EQ(cancelledIds(client), std::vector<long long>{static_cast<long long>(accepted->number("id"))});
    EXPECT_EQ(executor.pendingOrderQuantity(L"600000", kSellDirection), 0.0f);
    EXPECT_FALSE(executor.cancelOrder(L"600000", kSellDirection)) << "nothing left to cancel";

    // A confirmation that ignores its 是 for a while: no second order goes in on top of it.
    ASSERT_TRUE(client.send(L"hold-confirmation 3000"));
    Sleep(kPastSpacingMs);
    EXPECT_EQ(executor.sell(L"600000", 200, 9.50f, 0), 0);
    EXPECT_TRUE(executor.ownOrderAwaitingConfirmation());
    EXPECT_EQ(executor.sell(L"600000", 200, 9.50f, 0), kIncompleteData) << "answered now, not placed again";
    EXPECT_FALSE(executor.ownOrderAwaitingConfirmation());
    EXPECT_EQ(eventsNamed(client, "order_accepted").size(), 2u);
    EXPECT_TRUE(anyNotice(executor.takeClientNotices(), L"卖出 600000 200股 价格 9.5 已提交"));
}

}  // namespace

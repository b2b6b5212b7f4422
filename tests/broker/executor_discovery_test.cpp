// Window discovery against the simulated client and its layout variants: every result code a
// client can cause.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "sim_broker.h"
#include "sim_orders.h"

namespace {

TEST(Discovery, WithoutConfigurationOrClientWindowConnectFailsWithMainWindowMissing) {
    {
        ExecutorSession session(nullptr);
        PositionRow held;
        held.code = L"600000";
        PositionSnapshotStore::instance()->replacePositions({{held.code, held}}, {held});
        EXPECT_EQ(session.executor()->connect(), 0);
        EXPECT_EQ(session.executor()->lastErrorCode(), -5);
        EXPECT_STREQ(session.executor()->lastErrorText(), L"找不到券商软件主窗口");
        session.executor()->refreshPositions();
        EXPECT_EQ(PositionSnapshotStore::instance()->copyPositionRows().size(), 1u)
            << "no configuration: the snapshot stays as it was";
    }
    ExecutorSession session(simBrokerConfig(L"没有这个券商窗口-4711"));
    EXPECT_EQ(session.executor()->connect(), 0);
    EXPECT_EQ(session.executor()->lastErrorCode(), -5);
    EXPECT_EQ(session.executor()->isConnected(), 0);
    EXPECT_EQ(session.executor()->buy(L"600000", 100, 8.8f, 0), -3);
    EXPECT_EQ(session.executor()->lastErrorCode(), -3);
}

struct VariantCase {
    const wchar_t* variant;
    int result;
    int code;
};

// Every layout fault a client can have, each in a client of its own started side by side.
TEST(Discovery, EachLayoutVariantGivesItsResultCode) {
    const std::vector<VariantCase> cases{
        {L"no-toolbar", 0, -6},     {L"toolbar-at-top", 0, -11},        {L"no-buy-page", 0, -7},
        {L"no-sell-page", 0, -8},   {L"positions-extra-column", 0, -9}, {L"no-orders-page", 1, -10},
        {L"buy-3-edits", 0, -12},   {L"sell-3-edits", 0, -13},          {L"buy-1-button", 0, -14},
        {L"sell-1-button", 0, -15}, {L"buy-9-statics", 0, -16},         {L"sell-7-statics", 0, -17},
    };
    std::vector<std::unique_ptr<SimClientProcess>> clients;
    for (size_t i = 0; i < cases.size(); ++i) {
        const std::wstring tag = L"变体" + std::to_wstring(10 + i);
        clients.push_back(std::make_unique<SimClientProcess>(std::vector<std::wstring>{
            L"--title", L"模拟证券交易系统 " + tag, L"--variant", cases[i].variant}));
    }
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "variant " << i);
        ASSERT_TRUE(clients[i]->started()) << clients[i]->error();
        const std::wstring tag = L"变体" + std::to_wstring(10 + i);
        ExecutorSession session(simBrokerConfig(tag));
        ZsZqOrderExecutor* executor = session.executor();
        EXPECT_EQ(executor->discoverWindows(session.config()), cases[i].result);
        EXPECT_EQ(executor->lastErrorCode(), cases[i].code);
        EXPECT_EQ(executor->isConnected(), cases[i].result);
        if (cases[i].result == 1) {
            EXPECT_EQ(executor->hasOrdersList(), 0) << "no orders page: no orders list";
        }
    }
}

TEST(Discovery, ConnectsToTheDefaultLayoutAndFindsItByTheFallbackWords) {
    SimClientProcess client({L"--title", L"模拟证券交易系统 发现"});
    ASSERT_TRUE(client.started()) << client.error();
    ExecutorSession session(simBrokerConfig(L"模拟证券交易系统 发现"));
    ZsZqOrderExecutor* executor = session.executor();
    EXPECT_NE(executor->findClientMainWindow(), nullptr);
    EXPECT_EQ(executor->connect(), 1);
    EXPECT_EQ(executor->lastErrorCode(), 1) << "a discovery that succeeds records no code";
    EXPECT_EQ(executor->isConnected(), 1);
    EXPECT_EQ(executor->hasOrdersList(), 1);
    // The four pages were opened, in the order buy, sell, positions, orders.
    std::vector<std::wstring> pages;
    for (const JournalEvent& e : eventsNamed(client, "page_opened")) pages.push_back(e.text("page"));
    ASSERT_GE(pages.size(), 4u);
    EXPECT_EQ(std::vector<std::wstring>(pages.begin(), pages.begin() + 4),
              (std::vector<std::wstring>{L"buy", L"sell", L"positions", L"orders"}));
}

}  // namespace

// The executor against the running simulated client: reading, selling, cancelling, pop-ups,
// and a client whose windows go stale, hang or close.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <chrono>

#include "broker/remote_list_reader.h"
#include "broker/result_codes.h"
#include "sim_broker.h"
#include "sim_orders.h"

namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

constexpr DWORD kPastThrottleMs = 3100;

class ExecutorAgainstClient : public testing::Test {
protected:
    void start(std::vector<std::wstring> more = {}) {
        const std::wstring title = L"模拟证券交易系统 " + std::to_wstring(GetCurrentProcessId());
        more.insert(more.begin(), {L"--title", title});
        client_ = std::make_unique<SimClientProcess>(more);
        ASSERT_TRUE(client_->started()) << client_->error();
        session_ = std::make_unique<ExecutorSession>(simBrokerConfig(title));
    }
    void TearDown() override {
        session_.reset();
        client_.reset();
    }
    ZsZqOrderExecutor* executor() { return session_->executor(); }
    SimClientProcess& client() { return *client_; }
    std::vector<JournalEvent> events(const std::string& name) const { return eventsNamed(*client_, name); }

    static const PositionRow* rowOf(const PositionRows& rows, const std::wstring& code) {
        for (const PositionRow& row : rows)
            if (row.code == code) return &row;
        return nullptr;
    }

private:
    std::unique_ptr<SimClientProcess> client_;
    std::unique_ptr<ExecutorSession> session_;
};

TEST_F(ExecutorAgainstClient, ReadsPositionsWithChineseNamesAndNumbersAndThrottlesTheReads) {
    start();
    ASSERT_TRUE(client().send(L"position 600036 招商银行 1200 800 35.10 36.02"));
    ASSERT_EQ(executor()->connect(), 1);

    const PositionRows rows = PositionSnapshotStore::instance()->copyPositionRows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].code, L"600000");
    EXPECT_EQ(rows[0].name, L"浦发银行");
    const PositionRow* merchants = rowOf(rows, L"600036");
    ASSERT_NE(merchants, nullptr);
    EXPECT_EQ(merchants->name, L"招商银行");
    EXPECT_EQ(merchants->quantity, 1200);
    EXPECT_EQ(merchants->sellableQuantity, 800);
    EXPECT_FLOAT_EQ(merchants->costPrice, 35.10f);
    EXPECT_FLOAT_EQ(merchants->currentPrice, 36.02f);
    EXPECT_FLOAT_EQ(merchants->marketValue, 43224.0f);
    EXPECT_FLOAT_EQ(merchants->profit, 1104.0f);
    EXPECT_NEAR(merchants->profitPercent, 2.62f, 0.006f);
    EXPECT_EQ(PositionSnapshotStore::instance()->copyPositionsByCode().size(), 4u);

    EXPECT_FLOAT_EQ(executor()->positionCostPrice(L"600036"), 35.10f);
    EXPECT_FLOAT_EQ(executor()->positionQuantity(L"600036"), 1200.0f);
    EXPECT_FLOAT_EQ(executor()->positionSellableQuantity(L"600036"), 800.0f);
    EXPECT_FLOAT_EQ(executor()->positionMarketValue(L"600036"), 43224.0f);
    EXPECT_NEAR(executor()->positionProfitPercent(L"600036"), 2.62f, 0.006f);
    EXPECT_FLOAT_EQ(executor()->hasPosition(L"600036"), 1.0f);
    EXPECT_FLOAT_EQ(executor()->positionSpareValue(L"600036"), 0.0f);
    EXPECT_FLOAT_EQ(executor()->hasPosition(L"999999"), 0.0f);
    EXPECT_FLOAT_EQ(executor()->positionQuantity(L"999999"), 0.0f);
    EXPECT_FLOAT_EQ(executor()->positionCostPrice(nullptr), 0.0f);

    // Within 3000 ms of a read the getters answer from the snapshot.
    Sleep(kPastThrottleMs);
    EXPECT_FLOAT_EQ(executor()->positionQuantity(L"600036"), 1200.0f);
    ASSERT_TRUE(client().send(L"position 600036 招商银行 1500 1500 35.10 36.02"));
    EXPECT_FLOAT_EQ(executor()->positionQuantity(L"600036"), 1200.0f);
    Sleep(kPastThrottleMs);
    EXPECT_FLOAT_EQ(executor()->positionQuantity(L"600036"), 1500.0f);
    // The gap counts from the start of the previous read (which takes over 500 ms for the page),
    // so a monitor cycle 3 s after the last one reads again instead of skipping.
    ASSERT_TRUE(client().send(L"position 600036 招商银行 1600 1600 35.10 36.02"));
    Sleep(2300);
    EXPECT_FLOAT_EQ(executor()->positionQuantity(L"600036"), 1600.0f);

    // A client that shows no rows empties the snapshot.
    ASSERT_TRUE(client().send(L"logout"));
    Sleep(kPastThrottleMs);
    EXPECT_FLOAT_EQ(executor()->hasPosition(L"600036"), 0.0f);
    EXPECT_TRUE(PositionSnapshotStore::instance()->copyPositionRows().empty());
}

TEST_F(ExecutorAgainstClient, SellsOnceWithThePriceTextTheClientAcceptsAndThrottles) {
    start();
    ASSERT_EQ(executor()->connect(), 1);

    // 1700.02 less one price unit, in single precision, must reach the client as "1700.01".
    EXPECT_EQ(executor()->sell(L"600519", 10, 1700.02f, 0.01f), 1);
    ASSERT_TRUE(waitUntil([&] { return !events("order_accepted").empty(); }));
    std::vector<JournalEvent> submitted = events("order_submitted");
    ASSERT_EQ(submitted.size(), 1u);
    EXPECT_EQ(submitted[0].text("side"), L"sell");
    EXPECT_EQ(submitted[0].text("code"), L"600519");
    EXPECT_EQ(submitted[0].text("price"), L"1700.01");
    EXPECT_EQ(submitted[0].text("quantity"), L"10");
    EXPECT_EQ(executor()->lastErrorCode(), 0);

    EXPECT_EQ(executor()->sell(L"600519", 0, 1700.02f, 0), -2);
    EXPECT_EQ(executor()->lastErrorCode(), 0) << "a zero quantity leaves the code alone";
    EXPECT_EQ(executor()->sell(L"600519", 10, 1700.02f, 0), -2);
    EXPECT_EQ(executor()->lastErrorCode(), -2);
    EXPECT_STREQ(executor()->lastErrorText(), L"数据不完整");

    // The orders list was read at the end of connect; the next read waits out the throttle.
    Sleep(kPastThrottleMs);
    EXPECT_FLOAT_EQ(executor()->pendingOrderQuantity(L"600519", 1), 10.0f);
    EXPECT_FLOAT_EQ(executor()->pendingOrderQuantity(L"600519", 0), 0.0f);
    EXPECT_FLOAT_EQ(executor()->pendingOrderQuantity(L"600000", 1), 0.0f);
    EXPECT_EQ(events("order_submitted").size(), 1u) << "throttled sells send nothing";

    // The sell page is hidden behind the orders page: the last sale's price is not this code's.
    EXPECT_EQ(executor()->sell(L"600000", 100, 0, 0), 1);
    EXPECT_EQ(events("order_submitted").back().text("price"), L"8.88") << "the client's quote of 600000";
}

// On a client whose orders panel shows 全撤 before 撤单: a cancel never takes 全撤.
TEST_F(ExecutorAgainstClient, CancelsExactlyTheIntendedOrderWhenTheListIsScrolledOrHasChanged) {
    start({L"--variant", L"cancel-all-first"});
    ASSERT_EQ(executor()->connect(), 1);
    HWND list = clientOrdersList(client());
    ASSERT_NE(list, nullptr);
    const int perPage = static_cast<int>(*sendToWindow(list, LVM_GETCOUNTPERPAGE, 0, 0));
    ASSERT_GT(perPage, 0);

    // Row 0: a sell of 600000; fillers; then a buy of 000858 and a sell of 000001 at the bottom.
    const long long sellTop = placeOrderInClient(client(), false, L"600000", L"8.90", L"100");
    std::vector<long long> fillers;
    for (int i = 0; i < perPage + 2; ++i)
        fillers.push_back(
            placeOrderInClient(client(), true, L"601398", L"5." + std::to_wstring(10 + i), L"100"));
    const long long buyLow = placeOrderInClient(client(), true, L"000858", L"142.00", L"100");
    const long long sellBottom = placeOrderInClient(client(), false, L"000001", L"10.40", L"200");
    ASSERT_GT(sellTop, 0);
    ASSERT_GT(buyLow, 0);
    ASSERT_GT(sellBottom, 0);
    Sleep(kPastThrottleMs);
    EXPECT_FLOAT_EQ(executor()->pendingOrderQuantity(L"000858", 0), 100.0f);

    // The list shows its top; the bottom row is out of view.
    EXPECT_TRUE(executor()->cancelOrder(L"000001", 1));
    ASSERT_TRUE(waitUntil([&] { return cancelledIds(client()).size() == 1; }));
    EXPECT_EQ(cancelledIds(client()), std::vector<long long>{sellBottom});

    // A filler above it fills: every later row moves up while the snapshot still has them.
    ASSERT_TRUE(client().send(L"fill " + std::to_wstring(fillers[0])));
    EXPECT_TRUE(executor()->cancelOrder(L"000858", 0));
    ASSERT_TRUE(waitUntil([&] { return cancelledIds(client()).size() == 2; }));
    EXPECT_EQ(cancelledIds(client()).back(), buyLow);

    // The list is now scrolled to its end; the first row is out of view.
    EXPECT_TRUE(executor()->cancelOrder(L"600000", 1));
    ASSERT_TRUE(waitUntil([&] { return cancelledIds(client()).size() == 3; }));
    EXPECT_EQ(cancelledIds(client()).back(), sellTop);

    EXPECT_FALSE(executor()->cancelOrder(L"600000", 0));
    EXPECT_FALSE(executor()->cancelOrder(L"999999", 1));
    // A cancel the client turns down after its confirmation is not done.
    ASSERT_GT(placeOrderInClient(client(), false, L"600000", L"8.95", L"100"), 0);
    ASSERT_TRUE(client().send(L"refuse-cancels 1"));
    Sleep(kPastThrottleMs);
    EXPECT_FALSE(executor()->cancelOrder(L"600000", 1));
    EXPECT_EQ(executor()->lastErrorCode(), kCancelNotConfirmed);
    Sleep(300);
    EXPECT_EQ(cancelledIds(client()).size(), 3u) << "no order but the intended ones was cancelled";
}

TEST_F(ExecutorAgainstClient, TheSweepConfirmsOnlyAPopupWithAMatchingTitle) {
    start();
    ASSERT_TRUE(client().send(L"popup 公告 请确认今日公告"));
    ASSERT_TRUE(client().send(L"popup 提示 请确认委托"));
    SweepScope scope;
    scope.watchProcess(client().processId());
    sweepConfirmDialogs(scope);
    sweepConfirmDialogs(scope);
    ASSERT_TRUE(waitUntil([&] { return !events("popup_closed").empty(); }));
    std::vector<JournalEvent> closed = events("popup_closed");
    ASSERT_EQ(closed.size(), 1u);
    EXPECT_EQ(closed[0].text("title"), L"提示");
    EXPECT_EQ(closed[0].text("button"), L"确认");
    std::wstring status;
    ASSERT_TRUE(client().send(L"status", &status));
    EXPECT_NE(status.find(L"popups=1"), std::wstring::npos) << "the notice titled 公告 stays";
}

TEST_F(ExecutorAgainstClient, StaleHandlesAfterThePanelsAreRebuiltAreFoundAgain) {
    start();
    ASSERT_EQ(executor()->connect(), 1);
    ASSERT_TRUE(client().send(L"destroy-panels"));
    EXPECT_EQ(executor()->isConnected(), 0);

    // A sell into the stale form reaches no window; nothing is submitted, and it says so.
    EXPECT_EQ(executor()->sell(L"600000", 100, 8.90f, 0), 0);
    EXPECT_STREQ(executor()->lastErrorText(), L"券商软件的下单窗口已关闭或重建");
    Sleep(kPastThrottleMs);
    executor()->refreshPositions();
    EXPECT_EQ(PositionSnapshotStore::instance()->copyPositionRows().size(), 3u)
        << "a stale list holds no table: the last good snapshot stays";
    EXPECT_TRUE(events("order_submitted").empty());

    // The next getter reconnects and reads the rebuilt list.
    Sleep(kPastThrottleMs);
    EXPECT_FLOAT_EQ(executor()->positionQuantity(L"600000"), 10000.0f);
    EXPECT_EQ(executor()->isConnected(), 1);
}

TEST_F(ExecutorAgainstClient, AHungClientHoldsNoCallLongerThanTheMessageBound) {
    start();
    ASSERT_EQ(executor()->connect(), 1);
    Sleep(kPastThrottleMs);
    ASSERT_TRUE(client().send(L"hang 8000"));
    Sleep(100);

    // One timed-out message (5 s) ends the read; the page click before it costs 500 ms.
    auto started = Clock::now();
    executor()->refreshPositions();
    EXPECT_LT(Clock::now() - started, milliseconds(7500));
    EXPECT_FALSE(PositionSnapshotStore::instance()->copyPositionRows().empty())
        << "a timed-out read is no table: the last good snapshot stays";

    started = Clock::now();
    EXPECT_EQ(executor()->sell(L"600000", 100, 8.90f, 0), 0);
    EXPECT_LT(Clock::now() - started, milliseconds(5500));

    // Once the client answers again, no half-written order turns up.
    ASSERT_TRUE(waitUntil([&] { return client().send(L"status"); }, std::chrono::seconds(20)));
    Sleep(500);
    EXPECT_TRUE(events("order_submitted").empty());
}

// A press whose state change went unanswered clicked nothing: no sale, and no spacing after it.
TEST_F(ExecutorAgainstClient, APressThatNeverReachedTheButtonIsNoSale) {
    start();
    ASSERT_EQ(executor()->connect(), 1);
    ASSERT_TRUE(client().send(L"hang-on-press 6000"));
    EXPECT_EQ(executor()->sell(L"600000", 100, 8.90f, 0), 0);
    EXPECT_EQ(executor()->lastErrorCode(), -19);
    ASSERT_TRUE(waitUntil([&] { return client().send(L"status"); }, std::chrono::seconds(20)));
    EXPECT_TRUE(events("order_submitted").empty());
    EXPECT_EQ(executor()->sell(L"600000", 100, 8.90f, 0), 1)
        << "no spacing after a press that never happened";
}

TEST_F(ExecutorAgainstClient, AClosedClientGivesFailuresAndEmptyTables) {
    start();
    ASSERT_EQ(executor()->connect(), 1);
    TerminateProcess(client().processHandle(), 1);
    WaitForSingleObject(client().processHandle(), 5000);
    EXPECT_EQ(executor()->isConnected(), 0);
    EXPECT_EQ(executor()->hasOrdersList(), 1);
    EXPECT_FLOAT_EQ(executor()->positionQuantity(L"600000"), 10000.0f) << "the last snapshot within 3000 ms";
    EXPECT_EQ(executor()->lastErrorCode(), -5) << "the getter tried to reconnect";
    EXPECT_EQ(executor()->buy(L"600000", 100, 8.8f, 0), -3);
    EXPECT_EQ(executor()->sell(L"600000", 100, 8.9f, 0), 0);
    Sleep(kPastThrottleMs);
    EXPECT_FLOAT_EQ(executor()->pendingOrderQuantity(L"600000", 1), 0.0f);
    EXPECT_FALSE(executor()->cancelOrder(L"600000", 1));
    executor()->refreshPositions();
    EXPECT_FALSE(PositionSnapshotStore::instance()->copyPositionRows().empty())
        << "the last good snapshot stays";
}

}  // namespace

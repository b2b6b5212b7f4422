// The executor against the 32-bit client (real broker clients are 32-bit): the request
// structures must take the client's layout, whatever this build's bit width.
#include <gtest/gtest.h>

#include "broker/remote_list_reader.h"
#include "broker/remote_memory.h"
#include "broker/result_codes.h"
#include "sim_broker.h"
#include "sim_orders.h"

namespace {

constexpr DWORD kPastThrottleMs = 3100;

TEST(ExecutorAgainst32BitClient, ReadsSellsAtTheClientsOwnPriceAndCancels) {
    if (!SimClientProcess::available(SimClientProcess::Bits::Client32))
        GTEST_SKIP() << "no 32-bit client built";
    const std::wstring title = L"模拟证券交易系统 32位 " + std::to_wstring(GetCurrentProcessId());
    SimClientProcess client({L"--title", title}, SimClientProcess::Bits::Client32);
    ASSERT_TRUE(client.started()) << client.error();
    ASSERT_TRUE(client.send(L"position 600036 招商银行 1200 800 35.10 36.02"));
    ExecutorSession session(simBrokerConfig(title));
    ZsZqOrderExecutor* executor = session.executor();
    ASSERT_EQ(executor->connect(), 1) << "column titles read in the client's layout";
    EXPECT_EQ(executor->hasOrdersList(), 1);

    HWND positionsList = findDescendants(clientPanelWith(client, L"刷新"), L"SysListView32").front();
    EXPECT_EQ(readColumnTitles(positionsList), session.config()->positionTitles());

    const PositionRows rows = PositionSnapshotStore::instance()->copyPositionRows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[3].code, L"600036");
    EXPECT_EQ(rows[3].name, L"招商银行");
    EXPECT_EQ(rows[3].quantity, 1200);
    EXPECT_EQ(rows[3].sellableQuantity, 800);
    EXPECT_FLOAT_EQ(rows[3].costPrice, 35.10f);
    EXPECT_FLOAT_EQ(rows[3].marketValue, 43224.0f);
    EXPECT_EQ(rows[1].name, L"平安银行");

    // Price 0: the client's own price stays in the form.
    EXPECT_EQ(executor->sell(L"600000", 100, 0, 0), 1);
    ASSERT_TRUE(client.waitFor("order_accepted"));
    std::vector<JournalEvent> submitted = eventsNamed(client, "order_submitted");
    ASSERT_EQ(submitted.size(), 1u);
    EXPECT_EQ(submitted[0].text("code"), L"600000");
    EXPECT_EQ(submitted[0].text("price"), L"8.88");
    EXPECT_EQ(submitted[0].text("quantity"), L"100");
    const auto id = static_cast<long long>(eventsNamed(client, "order_accepted").front().number("id"));

    Sleep(kPastThrottleMs);
    EXPECT_FLOAT_EQ(executor->pendingOrderQuantity(L"600000", 1), 100.0f);
    EXPECT_TRUE(executor->cancelOrder(L"600000", 1));
    ASSERT_TRUE(waitUntil([&] { return !cancelledIds(client).empty(); }));
    EXPECT_EQ(cancelledIds(client), std::vector<long long>{id});
}

// Stands in for a 64-bit client: opens the desktop's process, a 64-bit one in a 64-bit Windows.
HANDLE WINAPI openDesktopProcess(DWORD access, BOOL inherit, DWORD) {
    DWORD desktop = 0;
    GetWindowThreadProcessId(GetDesktopWindow(), &desktop);
    return OpenProcess(access, inherit, desktop);
}

// A 32-bit Halyard cannot place its requests in a 64-bit client (an address above 2 GiB would
// be cut to the 32-bit message parameter): it says so, and clicks and reads nothing.
TEST(ExecutorAgainst32BitClient, A32BitHalyardRefusesA64BitClient) {
    BOOL onWow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &onWow64);
    if (sizeof(void*) == 8 || !onWow64) GTEST_SKIP() << "only a 32-bit Halyard on 64-bit Windows meets one";
    const std::wstring title = L"模拟证券交易系统 32位 " + std::to_wstring(GetCurrentProcessId());
    SimClientProcess client({L"--title", title}, SimClientProcess::Bits::Client32);
    ASSERT_TRUE(client.started()) << client.error();
    ExecutorSession session(simBrokerConfig(title));
    setProcessOpener(openDesktopProcess);
    const int connected = session.executor()->connect();
    setProcessOpener(nullptr);
    EXPECT_EQ(connected, 0);
    EXPECT_EQ(session.executor()->lastErrorCode(), kClientTooWide);
    EXPECT_STREQ(session.executor()->lastErrorText(), L"64位的券商软件请使用64位的Halyard");
    EXPECT_TRUE(eventsNamed(client, "page_opened").empty()) << "nothing was clicked";
}

}  // namespace

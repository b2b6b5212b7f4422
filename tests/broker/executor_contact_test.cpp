// The executor keeping in contact with the client and telling the truth: a restarted client,
// a look-alike window in front of it, a client it may not open, pop-ups of other programs and
// of the user's own orders, refusals, unreadable cells and a list that claims too many rows.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "broker/broker_tables.h"
#include "broker/client_windows.h"
#include "broker/remote_memory.h"
#include "broker/result_codes.h"
#include "sim_broker.h"
#include "sim_orders.h"

namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;
constexpr DWORD kPastThrottleMs = 3100;

std::wstring uniqueTitle() {
    return L"模拟证券交易系统 " + std::to_wstring(GetCurrentProcessId());
}

std::unique_ptr<SimClientProcess> startClient(const std::wstring& title,
                                              std::vector<std::wstring> extra = {}) {
    std::vector<std::wstring> arguments{L"--title", title};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return std::make_unique<SimClientProcess>(arguments);
}

bool anyNotice(const std::vector<std::wstring>& notices, const std::wstring& part) {
    return std::any_of(notices.begin(), notices.end(),
                       [&](const std::wstring& n) { return n.find(part) != std::wstring::npos; });
}

TEST(ExecutorContact, ARestartedClientIsNoticedAndUsedAndStaleFormsSellNothing) {
    const std::wstring title = uniqueTitle();
    auto client = startClient(title);
    ASSERT_TRUE(client->started()) << client->error();
    ExecutorSession session(simBrokerConfig(title));
    ZsZqOrderExecutor* executor = session.executor();
    ASSERT_EQ(executor->connect(), 1);
    const size_t rowsBefore = PositionSnapshotStore::instance()->copyPositionRows().size();

    ASSERT_TRUE(client->stop());
    client = startClient(title);
    ASSERT_TRUE(client->started()) << client->error();
    EXPECT_EQ(executor->isConnected(), 0) << "the old handles are gone";
    EXPECT_EQ(executor->sell(L"600000", 100, 8.90f, 0), 0);
    EXPECT_EQ(executor->lastErrorCode(), kFormWindowGone);
    Sleep(kPastThrottleMs);
    executor->refreshPositions();
    EXPECT_EQ(PositionSnapshotStore::instance()->copyPositionRows().size(), rowsBefore)
        << "a dead list never replaces the last good snapshot";

    ASSERT_EQ(executor->connect(), 1);
    EXPECT_EQ(executor->clientProcessId(), client->processId());
    EXPECT_EQ(executor->sell(L"600000", 100, 8.90f, 0), 1);
    EXPECT_TRUE(waitUntil([&] { return !eventsNamed(*client, "order_accepted").empty(); }));
}

// Nor is a look-alike window's process ever watched by the sweep: once the client went, its
// pop-ups are pressed by nobody.
TEST(ExecutorContact, ALookAlikeWindowInFrontDoesNotHideTheClient) {
    const std::wstring title = uniqueTitle();
    auto real = startClient(title);
    ASSERT_TRUE(real->started()) << real->error();
    // Started later, so it is in front: same title, no toolbar.
    auto lookAlike = startClient(title, {L"--variant", L"no-toolbar"});
    ASSERT_TRUE(lookAlike->started()) << lookAlike->error();
    EXPECT_EQ(findTopWindowsByTitle(title.c_str()).front(), lookAlike->mainWindow());

    ExecutorSession session(simBrokerConfig(title));
    EXPECT_EQ(session.executor()->findClientMainWindow(), real->mainWindow());
    ASSERT_EQ(session.executor()->connect(), 1);
    EXPECT_EQ(session.executor()->clientProcessId(), real->processId());

    ASSERT_TRUE(real->stop());
    EXPECT_EQ(session.executor()->clientProcessId(), 0u) << "forgotten with its window";
    EXPECT_EQ(session.executor()->connect(), 0);
    EXPECT_EQ(session.executor()->lastErrorCode(), kToolbarNotFound);
    ASSERT_TRUE(lookAlike->send(L"popup 提示 请确认删除"));
    session.executor()->sweepConfirmDialogs();
    Sleep(300);
    EXPECT_TRUE(eventsNamed(*lookAlike, "popup_closed").empty());
}

HANDLE WINAPI refuseToOpen(DWORD, BOOL, DWORD) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
}

TEST(ExecutorContact, AClientThatCannotBeOpenedIsNamedAsRunningAsAdministrator) {
    const std::wstring title = uniqueTitle();
    auto client = startClient(title);
    ASSERT_TRUE(client->started()) << client->error();
    ExecutorSession session(simBrokerConfig(title));
    setProcessOpener(refuseToOpen);
    const int connected = session.executor()->connect();
    setProcessOpener(nullptr);
    EXPECT_EQ(connected, 0);
    EXPECT_EQ(session.executor()->lastErrorCode(), kClientElevated);
    EXPECT_STREQ(session.executor()->lastErrorText(), L"券商软件以管理员身份运行, 请以管理员身份运行Halyard");
    EXPECT_TRUE(PositionSnapshotStore::instance()->copyPositionRows().empty()) << "no table taken as real";
    EXPECT_TRUE(eventsNamed(*client, "page_opened").empty()) << "nothing was clicked";
}

// With modal confirmations the press returns only once its pop-up is confirmed: the sweep
// confirms Halyard's own 交易确认 and the client's notices, and leaves the user's own order and
// other programs' windows alone. A refusal's text is kept for the journal.
TEST(ExecutorContact, OnlyTheClientsPopupsAndOnlyHalyardsOwnOrdersAreConfirmed) {
    const std::wstring title = uniqueTitle();
    auto client = startClient(title, {L"--variant", L"modal-popups"});
    ASSERT_TRUE(client->started()) << client->error();
    ExecutorSession session(simBrokerConfig(title));
    ZsZqOrderExecutor* executor = session.executor();
    ASSERT_EQ(executor->connect(), 1);
    executor->takeClientNotices();

    // Another program's "提示" and the user's own order's confirmation, before any own press.
    HWND foreign = CreateWindowExW(0, L"Static", L"提示: 确认删除?", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                   nullptr, nullptr);
    HWND foreignConfirm = CreateWindowExW(0, L"Button", L"确认", WS_CHILD | WS_VISIBLE, 0, 0, 40, 20, foreign,
                                          nullptr, nullptr, nullptr);
    ASSERT_TRUE(foreign && foreignConfirm);
    SetWindowPos(foreign, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    std::thread manual([&] { client->send(L"popup 交易确认 用户自己的委托"); });
    ASSERT_TRUE(
        waitUntil([&] { return halyard::testing::waitForTopWindow(client->processId(), L"交易确认", 200); }));
    executor->sweepConfirmDialogs();
    Sleep(300);
    EXPECT_TRUE(eventsNamed(*client, "popup_closed").empty()) << "the user's own 交易确认 is left alone";
    EXPECT_TRUE(IsWindow(foreign));
    // The user answers it.
    HWND manualPopup = halyard::testing::waitForTopWindow(client->processId(), L"交易确认", 200);
    PostMessageW(manualPopup, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    manual.join();

    // Refused above the daily limit: the sale went out, and the client's answer is kept.
    const auto started = Clock::now();
    EXPECT_EQ(executor->sell(L"600000", 100, 20.00f, 0), 1);
    EXPECT_LT(Clock::now() - started, milliseconds(6000)) << "the modal notice was confirmed";
    EXPECT_FALSE(eventsNamed(*client, "order_refused").empty());
    EXPECT_TRUE(waitUntil([&] { return eventsNamed(*client, "popup_closed").size() >= 2; }));
    Sleep(500);
    EXPECT_TRUE(anyNotice(executor->takeClientNotices(), L"券商提示: 委托价格超出涨跌停限制"));

    // An accepted order: Halyard's own 交易确认 is confirmed while the press waits.
    Sleep(kPastThrottleMs);
    EXPECT_EQ(executor->sell(L"600000", 100, 9.50f, 0), 1);
    EXPECT_TRUE(waitUntil([&] { return !eventsNamed(*client, "order_accepted").empty(); }));
    EXPECT_TRUE(waitUntil([&] { return anyNotice(executor->takeClientNotices(), L"委托已提交"); }));
    EXPECT_TRUE(IsWindow(foreign)) << "another program's 提示 is never pressed";
    DestroyWindow(foreign);

    // A cancel button that cannot be pressed cancels nothing and says so.
    Sleep(kPastThrottleMs);
    session.config()->setButtonPositions({{L"买入按钮", 30, 20},
                                          {L"卖出按钮", 90, 20},
                                          {L"撤单按钮", 150, 20},
                                          {L"撤单按钮2", -1, -1},
                                          {L"持仓按钮", 210, 20}});
    EXPECT_GT(executor->pendingOrderQuantity(L"600000", 1), 0.0f);
    EXPECT_FALSE(executor->cancelOrder(L"600000", 1));
    EXPECT_EQ(executor->lastErrorCode(), kCancelButtonNotPressed);
    Sleep(300);
    EXPECT_TRUE(eventsNamed(*client, "order_cancelled").empty());
}

TEST(ExecutorContact, SeparatedNumbersReadWholeAndAHugeListIsCutAtTheCeiling) {
    const std::wstring title = uniqueTitle();
    auto client = startClient(title, {L"--variant", L"thousands-separators"});
    ASSERT_TRUE(client->started()) << client->error();
    ExecutorSession session(simBrokerConfig(title));
    ZsZqOrderExecutor* executor = session.executor();
    ASSERT_EQ(executor->connect(), 1);
    PositionsByCode held = PositionSnapshotStore::instance()->copyPositionsByCode();
    ASSERT_EQ(held.count(L"600519"), 1u);
    EXPECT_FLOAT_EQ(held[L"600519"].currentPrice, 1688.0f) << "1,688.000 is not 1";
    EXPECT_EQ(held[L"600000"].quantity, 10000);
    EXPECT_FLOAT_EQ(held[L"600000"].marketValue, 88800.0f);
    executor->takeClientNotices();

    ASSERT_TRUE(client->send(L"claim-rows 100000"));
    for (int read = 0; read < 2; ++read) {
        Sleep(kPastThrottleMs);
        const auto started = Clock::now();
        executor->refreshPositions();
        EXPECT_LT(Clock::now() - started, milliseconds(8000)) << "cut within the ceiling (5 s and the page)";
        const size_t rows = PositionSnapshotStore::instance()->copyPositionRows().size();
        EXPECT_GE(rows, 3u);
        EXPECT_LE(rows, static_cast<size_t>(kMaxTableRows));
    }
    const std::vector<std::wstring> notices = executor->takeClientNotices();
    EXPECT_EQ(
        std::count_if(notices.begin(), notices.end(),
                      [](const std::wstring& n) { return n.find(L"持仓列表超过") != std::wstring::npos; }),
        1)
        << "the cut is told once";
}

// A list re-sorted between the cells of a row (a click on a column header) never joins one
// stock's cells to another's code: the row is read again, or left out with its last good row
// kept. A list message answered late leaves its block to the client, which writes its answer
// there unharmed; the next read takes a fresh block.
TEST(ExecutorContact, AListReSortedOrAnsweredLateDuringAReadNeverMixesStocks) {
    const std::wstring title = uniqueTitle();
    // Connect reads cells 1-30 (three rows of ten). The next read is re-sorted in its first
    // row; the one after in its first row and again while that row is read once more; the
    // fourth read's cell 115 is answered late.
    auto client = startClient(title, {L"--resort-after-cells", L"35,75,105", L"--late-cells", L"115"});
    ASSERT_TRUE(client->started()) << client->error();
    ExecutorSession session(simBrokerConfig(title));
    ZsZqOrderExecutor* executor = session.executor();
    ASSERT_EQ(executor->connect(), 1);
    const PositionsByCode clean = PositionSnapshotStore::instance()->copyPositionsByCode();
    ASSERT_EQ(clean.size(), 3u);
    // Before the second, 600000 changes: only its last good row may show it, never the new one.
    const struct {
        const char* read;
        const wchar_t* before;
    } reads[] = {{"row read again", nullptr},
                 {"row left out, its last good row kept", L"position 600000 浦发银行 7000 7000 8.50 8.88"}};
    for (const auto& [read, before] : reads) {
        if (before) {
            ASSERT_TRUE(client->send(before));
        }
        Sleep(kPastThrottleMs);
        executor->refreshPositions();
        const PositionRows rows = PositionSnapshotStore::instance()->copyPositionRows();
        EXPECT_EQ(rows.size(), 3u) << read;
        for (const PositionRow& row : rows) {
            ASSERT_EQ(clean.count(row.code), 1u) << read;
            const PositionRow& want = clean.at(row.code);
            EXPECT_EQ(row.name, want.name) << read;
            EXPECT_EQ(row.quantity, want.quantity) << read;
            EXPECT_FLOAT_EQ(row.currentPrice, want.currentPrice) << read;
        }
    }
    EXPECT_EQ(eventsNamed(*client, "list_resorted").size(), 3u);

    Sleep(kPastThrottleMs);
    executor->refreshPositions();
    ASSERT_TRUE(client->waitFor("late_cell_answered", 5000));
    EXPECT_TRUE(client->send(L"status")) << "the client's late answer went into memory still its own";
    Sleep(kPastThrottleMs);
    executor->refreshPositions();
    EXPECT_EQ(PositionSnapshotStore::instance()->copyPositionsByCode()[L"600000"].quantity, 7000);
    const std::vector<std::wstring> notices = executor->takeClientNotices();
    EXPECT_EQ(
        std::count_if(notices.begin(), notices.end(),
                      [](const std::wstring& n) { return n.find(L"内存不再释放") != std::wstring::npos; }),
        1);
}

}  // namespace

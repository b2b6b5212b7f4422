#pragma once
// Test-side helpers around the simulated client: its panels and orders list, orders placed
// through its own forms (as a user would, without the executor), and its journal.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "broker/window_toolkit.h"
#include "broker/zszq_order_executor.h"
#include "support/sim_client_process.h"

using halyard::testing::JournalEvent;
using halyard::testing::SimClientProcess;

// The client of this build's own bit width.
constexpr SimClientProcess::Bits kSameWidthClient =
    sizeof(void*) == 8 ? SimClientProcess::Bits::Client64 : SimClientProcess::Bits::Client32;

// Polls until `done` holds or the bound passes; the result says which.
inline bool waitUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds bound = std::chrono::seconds(10)) {
    const auto end = std::chrono::steady_clock::now() + bound;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        Sleep(20);
    }
    return true;
}

inline std::vector<JournalEvent> eventsNamed(const SimClientProcess& client, const std::string& name) {
    std::vector<JournalEvent> found;
    for (JournalEvent& e : client.journal())
        if (e.event == name) found.push_back(std::move(e));
    return found;
}

// Ids of the orders the journal shows as cancelled, in order.
inline std::vector<long long> cancelledIds(const SimClientProcess& client) {
    std::vector<long long> ids;
    for (const JournalEvent& e : eventsNamed(client, "order_cancelled"))
        ids.push_back(static_cast<long long>(e.number("id")));
    return ids;
}

// The client's page panel holding a button with that caption; null when not created yet.
inline HWND clientPanelWith(const SimClientProcess& client, const wchar_t* caption) {
    std::vector<HWND> buttons = findDescendants(client.mainWindow(), L"Button", caption);
    return buttons.empty() ? nullptr : GetParent(buttons.front());
}

inline HWND clientOrdersList(const SimClientProcess& client) {
    std::vector<HWND> lists = findDescendants(clientPanelWith(client, L"撤单"), L"SysListView32");
    return lists.empty() ? nullptr : lists.front();
}

// Places an order through the client's form and confirms its pop-ups; the order's id, -1 when
// the client did not accept it. The form's page must have been opened once.
inline long long placeOrderInClient(SimClientProcess& client, bool buy, const std::wstring& code,
                                    const std::wstring& price, const std::wstring& quantity) {
    const wchar_t* caption = buy ? L"买入下单" : L"卖出下单";
    HWND panel = clientPanelWith(client, caption);
    std::vector<HWND> edits = findDescendants(panel, L"Edit");
    std::vector<HWND> buttons = findDescendants(panel, L"Button", caption);
    if (edits.size() < 4 || buttons.empty()) return -1;
    const size_t before = eventsNamed(client, "order_accepted").size();
    setWindowTextOf(edits[0], code);
    setWindowTextOf(edits[1], price);
    setWindowTextOf(edits[3], quantity);
    // The test confirms the pop-ups of this order as its own.
    SweepScope scope;
    scope.watchProcess(client.processId());
    scope.ownPressStarted();
    pressButton(buttons.front());
    if (!waitUntil([&] {
            sweepConfirmDialogs(scope);
            return eventsNamed(client, "order_accepted").size() > before;
        }))
        return -1;
    // Close the notice that follows.
    waitUntil([&] {
        sweepConfirmDialogs(scope);
        return !findTopWindowByTitle(L"提示");
    });
    return static_cast<long long>(eventsNamed(client, "order_accepted").back().number("id"));
}

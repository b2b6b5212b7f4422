#pragma once
// What the monitor remembers from one cycle to the next: the state of its contact with the
// broker client, and the sales it submitted that no read has shown yet.
#include <cstdint>
#include <ctime>
#include <map>
#include <string>

#include "broker/window_handle.h"
#include "rules/stock_sightings.h"

// A sale counts as placed once a positions read after it shows the sellable quantity reduced
// by the order (or the stock gone), or an orders read shows the order.
struct PendingSale {
    std::wstring name;
    int32_t sellableBefore = 0;
    int32_t quantity = 0;
    int32_t heldBefore = 0;  // the whole holding when the order went in
    uint64_t positionsGeneration = 0;
    uint64_t ordersGeneration = 0;
    int readsLeft = 3;
    // Reads are not counted while the client still shows the order's confirmation, for a
    // minute from the first such read.
    bool held = false;
    uint32_t heldSinceMs = 0;
};

inline constexpr uint32_t kConfirmationHoldMs = 60000;

// The last sell order Halyard placed for a stock, at the price it typed: the orders list shows
// no prices, so 追单 knows its own order's price only from here.
struct OwnSellOrder {
    float price = 0;
    int32_t quantity = 0;
    uint32_t lastChaseMs = 0;
    bool chased = false;
};

struct ContactState {
    bool lost = false;
    // The client's windows are there but its positions cannot be read.
    bool readsFailing = false;
    bool attempted = false;
    bool lossAlerted = false;
    uint32_t lostSinceMs = 0;
    uint32_t lastAttemptMs = 0;
    std::wstring errorText;
    WindowHandle triedWindow = nullptr;  // the client window the last connect was made for
};

// The next sale of a stock goes at the latest price, without slip, on the day the mark was made:
// its last sale was refused by the client or never seen in it (a stock at its limit-down price
// takes no order below that price).
struct NoSlipMark {
    int day = 0;
    std::wstring reason;
};

// A stock some of whose cells could not be read: the day of its journal line and, while it has a
// rule, since when it is unreadable in trading hours and whether that was alerted.
struct UnreadableStock {
    int journalDay = 0;
    bool watched = false;
    uint32_t sinceMs = 0;
    bool alerted = false;
};

struct MonitorState {
    ContactState contact;
    std::map<std::wstring, PendingSale> pendingSales;
    std::map<std::wstring, NoSlipMark> noSlipSales;
    std::map<std::wstring, UnreadableStock> unreadable;
    std::map<std::wstring, OwnSellOrder> ownSellOrders;
    // Day on which a stock's order was last said to stay (no cancels from 14:57).
    std::map<std::wstring, int> orderKeptDay;
    StockSightings sightings;
    uint64_t positionsGeneration = 0;
    // The last cycle whose read of the positions did not fail: the age of the rows.
    bool readSucceeded = false;
    uint32_t lastGoodReadMs = 0;
    bool hasRead = false;
    std::tm lastRead{};
};

// What the main window shows under the list.
struct ContactStatus {
    enum class Kind { Connected, Reconnecting, Lost };
    Kind kind = Kind::Connected;
    std::wstring errorText;
    bool hasRead = false;
    std::tm lastRead{};
};

#pragma once
// What the monitor remembers from one cycle to the next: the state of its contact with the
// broker client, and the sales it submitted that no read has shown yet.
#include <cstdint>
#include <ctime>
#include <map>
#include <string>

#include "broker/window_handle.h"

// A sale counts as placed once a positions read after it shows the sellable quantity reduced
// by the order (or the stock gone), or an orders read shows the order.
struct PendingSale {
    std::wstring name;
    int32_t sellableBefore = 0;
    int32_t quantity = 0;
    uint64_t positionsGeneration = 0;
    uint64_t ordersGeneration = 0;
    int readsLeft = 3;
};

struct ContactState {
    bool lost = false;
    bool attempted = false;
    bool lossAlerted = false;
    uint32_t lostSinceMs = 0;
    uint32_t lastAttemptMs = 0;
    std::wstring errorText;
    WindowHandle triedWindow = nullptr;  // the client window the last connect was made for
};

struct MonitorState {
    ContactState contact;
    std::map<std::wstring, PendingSale> pendingSales;
    uint64_t positionsGeneration = 0;
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

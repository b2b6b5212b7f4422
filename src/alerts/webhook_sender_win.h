#pragma once
// Sends one webhook alert with WinHTTP: HTTPS (TLS 1.2 or newer) with the system's certificate
// checks (plain HTTP only to this machine), through the user's own proxy settings, one deadline
// for the whole of each attempt, and one retry after a pause only when the request cannot have
// reached the server (its name was not found or no connection was made). Once anything was
// sent, the service may have posted the message: it is never sent a second time.
#include <functional>
#include <string>

#include "alerts/webhook_message.h"

struct WebhookTiming {
    explicit WebhookTiming(unsigned timeout = 15000, unsigned retryDelay = 5000)
        : timeoutMs(timeout), retryDelayMs(retryDelay) {}

    unsigned timeoutMs;  // for the whole of one attempt
    unsigned retryDelayMs;
    // Milliseconds since 1970 for a signed robot's timestamp; the system's clock when empty.
    std::function<long long()> epochMs;
};

// Waits that long; false when the wait was cut short (the program is ending: no retry).
using WebhookPause = std::function<bool(unsigned milliseconds)>;

WebhookResult sendWebhook(const WebhookTarget& target, const std::wstring& text, const WebhookTiming& timing,
                          const WebhookPause& pause);

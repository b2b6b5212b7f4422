#pragma once
// Sends one webhook alert with WinHTTP: HTTPS with the system's certificate checks (plain HTTP
// only to this machine), a timeout per request, and one retry after a pause when the network
// failed (not when the server answered, whatever it answered).
#include <functional>
#include <string>

#include "alerts/webhook_message.h"

struct WebhookTiming {
    unsigned timeoutMs = 10000;
    unsigned retryDelayMs = 5000;
};

// Waits that long; false when the wait was cut short (the program is ending: no retry).
using WebhookPause = std::function<bool(unsigned milliseconds)>;

WebhookResult sendWebhook(const WebhookTarget& target, const std::wstring& text, const WebhookTiming& timing,
                          const WebhookPause& pause);

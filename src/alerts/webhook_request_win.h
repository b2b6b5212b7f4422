#pragma once
// One POST through WinHTTP that ends by its deadline whatever the network does: the request
// runs asynchronously and is closed when the deadline passes, in whichever phase it is (name
// resolution, connection, handshake, sending, waiting for or reading the answer).
#include <string>

#include "alerts/webhook_proxy_win.h"

struct WebhookRequest {
    std::wstring host;
    unsigned short port = 0;
    bool secure = false;
    std::wstring pathAndQuery;
    std::string body;
    WebhookProxy proxy;
};

struct WebhookReply {
    bool answered = false;  // a status and the answer's body arrived
    int status = 0;
    std::string body;
    unsigned long error = 0;        // why there is no answer (WinHTTP's or the socket's code)
    bool sent = false;              // the request started going out: the server may have it
    unsigned long secureFlags = 0;  // what the secure connection reported wrong
};

WebhookReply postWithDeadline(const WebhookRequest& request, unsigned timeoutMs);

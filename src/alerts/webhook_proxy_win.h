#pragma once
// The proxy the user set for the system (Internet options: a named proxy, a configuration
// script, or automatic detection), as WinHTTP's own proxy setting is not what users set.
#include <string>

struct WebhookProxy {
    bool named = false;  // false: connect directly
    std::wstring proxy;
    std::wstring bypass;
};

// The proxy for this URL. Automatic configuration is asked first when the user switched it on;
// when it finds nothing the user's named proxy is taken, and without one the connection is direct
// (as is a second try after a proxy that could not be reached).
WebhookProxy userProxyFor(const std::wstring& url);

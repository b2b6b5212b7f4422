#include "alerts/webhook_proxy_win.h"

#include <windows.h>

#include <winhttp.h>

#include "common/unique_handle.h"

namespace {

// How long the configuration script may take to fetch and run.
constexpr int kScriptTimeoutMs = 5000;

BOOL closeInternet(HINTERNET handle) {
    return WinHttpCloseHandle(handle);
}
using UniqueInternet = halyard::UniqueResource<halyard::SimpleHandleTraits<HINTERNET, BOOL, closeInternet>>;

// Strings WinHTTP allocated for the caller, freed with GlobalFree.
std::wstring takeGlobalString(LPWSTR text) {
    if (!text) return std::wstring();
    std::wstring copy(text);
    GlobalFree(text);
    return copy;
}

struct UserProxyConfig {
    bool autoDetect = false;
    std::wstring scriptUrl;
    std::wstring proxy;
    std::wstring bypass;
};

UserProxyConfig readUserProxyConfig() {
    UserProxyConfig config;
    WINHTTP_CURRENT_USER_IE_PROXY_CONFIG user{};
    if (!WinHttpGetIEProxyConfigForCurrentUser(&user)) return config;
    config.autoDetect = user.fAutoDetect != FALSE;
    config.scriptUrl = takeGlobalString(user.lpszAutoConfigUrl);
    config.proxy = takeGlobalString(user.lpszProxy);
    config.bypass = takeGlobalString(user.lpszProxyBypass);
    return config;
}

// True when automatic configuration answered (which may be "direct").
bool automaticProxy(const UserProxyConfig& config, const std::wstring& url, WebhookProxy& found) {
    WINHTTP_AUTOPROXY_OPTIONS options{};
    if (!config.scriptUrl.empty()) {
        options.dwFlags |= WINHTTP_AUTOPROXY_CONFIG_URL;
        options.lpszAutoConfigUrl = config.scriptUrl.c_str();
    }
    if (config.autoDetect) {
        options.dwFlags |= WINHTTP_AUTOPROXY_AUTO_DETECT;
        options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
    }
    if (options.dwFlags == 0) return false;
    options.fAutoLogonIfChallenged = TRUE;
    UniqueInternet lookup(WinHttpOpen(L"Halyard", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                      WINHTTP_NO_PROXY_BYPASS, 0));
    if (!lookup) return false;
    WinHttpSetTimeouts(lookup.get(), kScriptTimeoutMs, kScriptTimeoutMs, kScriptTimeoutMs, kScriptTimeoutMs);
    WINHTTP_PROXY_INFO info{};
    if (!WinHttpGetProxyForUrl(lookup.get(), url.c_str(), &options, &info)) return false;
    found.proxy = takeGlobalString(info.lpszProxy);
    found.bypass = takeGlobalString(info.lpszProxyBypass);
    found.named = info.dwAccessType == WINHTTP_ACCESS_TYPE_NAMED_PROXY && !found.proxy.empty();
    return true;
}

}  // namespace

WebhookProxy userProxyFor(const std::wstring& url) {
    const UserProxyConfig config = readUserProxyConfig();
    WebhookProxy found;
    if (automaticProxy(config, url, found)) return found;
    found = WebhookProxy();
    if (config.proxy.empty()) return found;
    found.named = true;
    found.proxy = config.proxy;
    found.bypass = config.bypass;
    return found;
}

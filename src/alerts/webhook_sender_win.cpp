#include "alerts/webhook_sender_win.h"

#include <windows.h>

#include <winhttp.h>

#include "common/unique_handle.h"

namespace {

constexpr DWORD kAnswerLimit = 64 * 1024;
constexpr wchar_t kHeaders[] = L"Content-Type: application/json; charset=utf-8";

BOOL closeInternet(HINTERNET handle) {
    return WinHttpCloseHandle(handle);
}
using UniqueInternet = halyard::UniqueResource<halyard::SimpleHandleTraits<HINTERNET, BOOL, closeInternet>>;

struct Address {
    std::wstring host;
    std::wstring pathAndQuery;
    INTERNET_PORT port = 0;
    bool secure = false;
};

bool isLoopback(const std::wstring& host) {
    return host == L"127.0.0.1" || host == L"localhost" || host == L"::1" || host == L"[::1]";
}

bool crack(const std::wstring& url, Address& address, std::wstring& refusal) {
    if (url.empty()) {
        refusal = L"网址为空";
        return false;
    }
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts) || !parts.lpszHostName ||
        parts.dwHostNameLength == 0) {
        refusal = L"无法识别的网址";
        return false;
    }
    address.host.assign(parts.lpszHostName, parts.dwHostNameLength);
    if (parts.lpszUrlPath) address.pathAndQuery.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
    if (parts.lpszExtraInfo) address.pathAndQuery.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (address.pathAndQuery.empty()) address.pathAndQuery = L"/";
    address.port = parts.nPort;
    address.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    // The URL carries the robot's secret: it never crosses the network unencrypted.
    if (!address.secure && !(parts.nScheme == INTERNET_SCHEME_HTTP && isLoopback(address.host))) {
        refusal = L"只支持https网址";
        return false;
    }
    return true;
}

WebhookResult networkError() {
    WebhookResult result;
    result.kind = WebhookResult::Kind::NetworkError;
    result.systemError = GetLastError();
    return result;
}

WebhookResult postOnce(const Address& address, WebhookFormat format, const std::string& body,
                       unsigned timeoutMs) {
    UniqueInternet session(WinHttpOpen(L"Halyard", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                       WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session) return networkError();
    const int timeout = static_cast<int>(timeoutMs);
    WinHttpSetTimeouts(session.get(), timeout, timeout, timeout, timeout);
    UniqueInternet connection(WinHttpConnect(session.get(), address.host.c_str(), address.port, 0));
    if (!connection) return networkError();
    UniqueInternet request(WinHttpOpenRequest(connection.get(), L"POST", address.pathAndQuery.c_str(),
                                              nullptr, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                              address.secure ? WINHTTP_FLAG_SECURE : 0));
    if (!request) return networkError();
    // The wait for the answer has a timeout of its own besides the receive timeout.
    WinHttpSetTimeouts(request.get(), timeout, timeout, timeout, timeout);
    DWORD responseTimeout = timeoutMs;
    WinHttpSetOption(request.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &responseTimeout,
                     sizeof responseTimeout);
    const DWORD size = static_cast<DWORD>(body.size());
    if (!WinHttpSendRequest(request.get(), kHeaders, static_cast<DWORD>(-1), const_cast<char*>(body.data()),
                            size, size, 0) ||
        !WinHttpReceiveResponse(request.get(), nullptr))
        return networkError();

    DWORD status = 0;
    DWORD statusSize = sizeof status;
    WinHttpQueryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                        WINHTTP_HEADER_NAME_BY_INDEX, &status, &statusSize, WINHTTP_NO_HEADER_INDEX);
    std::string answer;
    for (;;) {
        char buffer[4096];
        DWORD read = 0;
        if (!WinHttpReadData(request.get(), buffer, sizeof buffer, &read)) return networkError();
        if (read == 0 || answer.size() >= kAnswerLimit) break;
        answer.append(buffer, read);
    }

    WebhookResult result;
    result.httpStatus = static_cast<int>(status);
    if (status < 200 || status >= 300) {
        result.kind = WebhookResult::Kind::HttpError;
        return result;
    }
    result.answer = readWebhookAnswer(format, answer);
    if (!result.answer.recognised) {
        result.kind = WebhookResult::Kind::Unreadable;
    } else {
        result.kind = result.answer.code == 0 ? WebhookResult::Kind::Delivered : WebhookResult::Kind::Refused;
    }
    return result;
}

}  // namespace

WebhookResult sendWebhook(const WebhookTarget& target, const std::wstring& text, const WebhookTiming& timing,
                          const WebhookPause& pause) {
    WebhookResult result;
    Address address;
    if (!crack(target.url, address, result.detail)) return result;
    const std::string body = webhookBody(target.format, text);
    result = postOnce(address, target.format, body, timing.timeoutMs);
    result.attempts = 1;
    if (result.kind != WebhookResult::Kind::NetworkError) return result;
    if (pause && !pause(timing.retryDelayMs)) return result;
    result = postOnce(address, target.format, body, timing.timeoutMs);
    result.attempts = 2;
    return result;
}

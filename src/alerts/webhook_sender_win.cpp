#include "alerts/webhook_sender_win.h"

#include <windows.h>

#include <winhttp.h>

#include <chrono>

#include "alerts/hmac_sha256_win.h"
#include "alerts/webhook_request_win.h"
#include "alerts/webhook_signature.h"
#include "common/trimmed_text.h"

namespace {

bool isLoopback(const std::wstring& host) {
    return host == L"127.0.0.1" || host == L"localhost" || host == L"::1" || host == L"[::1]";
}

bool crack(const std::wstring& url, WebhookRequest& request, std::wstring& refusal) {
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
    request.host.assign(parts.lpszHostName, parts.dwHostNameLength);
    if (parts.lpszUrlPath) request.pathAndQuery.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
    if (parts.lpszExtraInfo) request.pathAndQuery.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (request.pathAndQuery.empty()) request.pathAndQuery = L"/";
    request.port = parts.nPort;
    request.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    // The URL carries the robot's secret: it never crosses the network unencrypted.
    if (!request.secure && !(parts.nScheme == INTERNET_SCHEME_HTTP && isLoopback(request.host))) {
        refusal = L"只支持https网址";
        return false;
    }
    return true;
}

long long systemEpochMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

// The URL and body the robot is sent: signed when it has a secret. False when the system could
// not sign (nothing is sent unsigned to a robot that checks signatures).
bool prepare(const WebhookTarget& target, const std::wstring& text, const WebhookTiming& timing,
             std::wstring& url, std::string& body) {
    url = halyard::trimmedText(target.url);
    if (isPushService(target.format)) {
        body = pushServiceBody(target.format, url, text);
        url = pushServiceUrl(target.format, url);
        return true;
    }
    if (target.secret.empty() || target.format == WebhookFormat::WeCom) {
        body = webhookBody(target.format, text);
        return true;
    }
    WebhookSignature signature;
    signature.timestamp =
        webhookSignatureTime(target.format, timing.epochMs ? timing.epochMs() : systemEpochMs());
    std::string key;
    std::string message;
    std::string digest;
    webhookSigningInput(target.format, signature.timestamp, target.secret, key, message);
    if (!hmacSha256(key, message, digest)) return false;
    signature.sign = base64(digest);
    url = signedWebhookUrl(target.format, url, signature);
    body = signedWebhookBody(target.format, text, signature);
    return true;
}

WebhookResult resultOf(const WebhookReply& reply, WebhookFormat format) {
    WebhookResult result;
    result.requestSent = reply.sent;
    if (!reply.answered) {
        result.kind = WebhookResult::Kind::NetworkError;
        result.systemError = reply.error;
        result.secureFlags = reply.secureFlags;
        return result;
    }
    result.httpStatus = reply.status;
    if (reply.status < 200 || reply.status >= 300) {
        result.kind = WebhookResult::Kind::HttpError;
        return result;
    }
    result.answer = readWebhookAnswer(format, reply.body);
    if (!result.answer.recognised) {
        result.kind = WebhookResult::Kind::Unreadable;
    } else {
        result.kind = result.answer.code == deliveredCode(format) ? WebhookResult::Kind::Delivered
                                                                  : WebhookResult::Kind::Refused;
    }
    return result;
}

// Worth a second try: the request cannot have reached the server, and the fault may pass (a
// secure connection refused for its certificate or its TLS version stays refused).
bool mayRetry(const WebhookResult& result) {
    return result.kind == WebhookResult::Kind::NetworkError && !result.requestSent &&
           result.systemError != ERROR_WINHTTP_SECURE_FAILURE &&
           result.systemError != ERROR_WINHTTP_SECURE_CHANNEL_ERROR;
}

}  // namespace

WebhookResult sendWebhook(const WebhookTarget& target, const std::wstring& text, const WebhookTiming& timing,
                          const WebhookPause& pause) {
    WebhookResult result;
    std::wstring url;
    WebhookRequest request;
    if (!prepare(target, text, timing, url, request.body)) {
        result.kind = WebhookResult::Kind::Unsigned;
        return result;
    }
    if (url.empty() && !halyard::trimmedText(target.url).empty()) {
        result.detail = L"SendKey含有无效字符";
        return result;
    }
    if (!crack(url, request, result.detail)) return result;
    if (!isLoopback(request.host)) request.proxy = userProxyFor(url);
    for (int attempt = 1;; ++attempt) {
        result = resultOf(postWithDeadline(request, timing.timeoutMs), target.format);
        result.attempts = attempt;
        if (attempt == 2 || !mayRetry(result)) return result;
        // Nothing reached the proxy either: the second try goes direct.
        request.proxy = WebhookProxy();
        if (pause && !pause(timing.retryDelayMs)) return result;
    }
}

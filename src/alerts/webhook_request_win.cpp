#include "alerts/webhook_request_win.h"

#include <windows.h>

#include <winhttp.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "common/unique_handle.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kAnswerLimit = 64 * 1024;
constexpr wchar_t kHeaders[] = L"Content-Type: application/json; charset=utf-8";
constexpr DWORD kSecureProtocols = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2 | WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_3;
constexpr DWORD kNotifications = WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS | WINHTTP_CALLBACK_FLAG_SEND_REQUEST |
                                 WINHTTP_CALLBACK_FLAG_SECURE_FAILURE | WINHTTP_CALLBACK_FLAG_HANDLES;

BOOL closeInternet(HINTERNET handle) {
    return WinHttpCloseHandle(handle);
}
using UniqueInternet = halyard::UniqueResource<halyard::SimpleHandleTraits<HINTERNET, BOOL, closeInternet>>;

// What WinHTTP's callbacks (on its own threads) report about the request. The callback holds a
// reference of its own until the request's handle is closed, so a request abandoned at its
// deadline still has its read buffer and its state when WinHTTP finishes with it.
struct Exchange {
    std::mutex lock;
    std::condition_variable changed;
    bool stepDone = false;
    DWORD error = 0;
    DWORD bytesRead = 0;
    bool sending = false;
    DWORD secureFlags = 0;
    char buffer[4096];
};
using ExchangeRef = std::shared_ptr<Exchange>;

void CALLBACK onStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info, DWORD length) {
    ExchangeRef* holder = reinterpret_cast<ExchangeRef*>(context);
    if (!holder) return;
    if (status == WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING) {
        delete holder;
        return;
    }
    Exchange& exchange = **holder;
    {
        std::lock_guard<std::mutex> guard(exchange.lock);
        switch (status) {
            case WINHTTP_CALLBACK_STATUS_SENDING_REQUEST:
                exchange.sending = true;
                break;
            case WINHTTP_CALLBACK_STATUS_SECURE_FAILURE:
                if (info && length >= sizeof(DWORD)) exchange.secureFlags |= *static_cast<DWORD*>(info);
                break;
            case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
            case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
                exchange.stepDone = true;
                break;
            case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
                exchange.bytesRead = length;
                exchange.stepDone = true;
                break;
            case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR: {
                const auto* result = static_cast<WINHTTP_ASYNC_RESULT*>(info);
                exchange.error = result && result->dwError ? result->dwError : ERROR_WINHTTP_INTERNAL_ERROR;
                exchange.stepDone = true;
                break;
            }
            default:
                return;
        }
    }
    exchange.changed.notify_all();
}

class PendingRequest {
public:
    PendingRequest(HINTERNET request, Clock::time_point deadline)
        : request_(request), deadline_(deadline), exchange_(std::make_shared<Exchange>()) {}

    // Hands WinHTTP its reference to the exchange; false when the callback could not be set.
    bool watch() {
        auto* holder = new ExchangeRef(exchange_);
        context_ = reinterpret_cast<DWORD_PTR>(holder);
        if (!WinHttpSetOption(request_, WINHTTP_OPTION_CONTEXT_VALUE, &context_, sizeof context_) ||
            WinHttpSetStatusCallback(request_, onStatus, kNotifications, 0) ==
                WINHTTP_INVALID_STATUS_CALLBACK) {
            delete holder;
            context_ = 0;
            return false;
        }
        return true;
    }
    // Sending sets the request's context again: it must stay the same.
    DWORD_PTR context() const { return context_; }
    // Starts one phase with `start` and waits for it to complete until the deadline.
    template <typename Start>
    bool step(Start start, WebhookReply& reply) {
        // A completion may come within the call itself after it blocked (Wine reads so): the
        // deadline is checked before each phase as well as while waiting.
        if (Clock::now() >= deadline_) return fail(ERROR_WINHTTP_TIMEOUT, reply);
        {
            std::lock_guard<std::mutex> guard(exchange_->lock);
            exchange_->stepDone = false;
            exchange_->error = 0;
        }
        if (!start()) return fail(GetLastError(), reply);
        std::unique_lock<std::mutex> guard(exchange_->lock);
        if (!exchange_->changed.wait_until(guard, deadline_, [this] { return exchange_->stepDone; })) {
            guard.unlock();
            return fail(ERROR_WINHTTP_TIMEOUT, reply);
        }
        const DWORD error = exchange_->error;
        guard.unlock();
        return error == 0 || fail(error, reply);
    }
    Exchange& exchange() { return *exchange_; }

private:
    bool fail(DWORD error, WebhookReply& reply) {
        std::lock_guard<std::mutex> guard(exchange_->lock);
        reply.error = error;
        reply.sent = exchange_->sending;
        reply.secureFlags = exchange_->secureFlags;
        return false;
    }

    HINTERNET request_;
    DWORD_PTR context_ = 0;
    Clock::time_point deadline_;
    ExchangeRef exchange_;
};

void askForCurrentTls(HINTERNET session) {
    DWORD protocols = kSecureProtocols;
    // Systems before TLS 1.3 refuse the whole set: then TLS 1.2 alone.
    if (WinHttpSetOption(session, WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols, sizeof protocols)) return;
    protocols = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2;
    WinHttpSetOption(session, WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols, sizeof protocols);
}

WebhookReply failure(WebhookReply reply) {
    reply.error = GetLastError();
    return reply;
}

}  // namespace

WebhookReply postWithDeadline(const WebhookRequest& target, unsigned timeoutMs) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    WebhookReply reply;
    const WebhookProxy& proxy = target.proxy;
    UniqueInternet session(
        WinHttpOpen(L"Halyard", proxy.named ? WINHTTP_ACCESS_TYPE_NAMED_PROXY : WINHTTP_ACCESS_TYPE_NO_PROXY,
                    proxy.named ? proxy.proxy.c_str() : WINHTTP_NO_PROXY_NAME,
                    proxy.named && !proxy.bypass.empty() ? proxy.bypass.c_str() : WINHTTP_NO_PROXY_BYPASS,
                    WINHTTP_FLAG_ASYNC));
    if (!session) return failure(reply);
    askForCurrentTls(session.get());
    // WinHTTP's own timeouts only back the deadline up.
    const int timeout = static_cast<int>(timeoutMs);
    WinHttpSetTimeouts(session.get(), timeout, timeout, timeout, timeout);
    UniqueInternet connection(WinHttpConnect(session.get(), target.host.c_str(), target.port, 0));
    if (!connection) return failure(reply);
    UniqueInternet request(WinHttpOpenRequest(connection.get(), L"POST", target.pathAndQuery.c_str(), nullptr,
                                              WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                              target.secure ? WINHTTP_FLAG_SECURE : 0));
    if (!request) return failure(reply);
    PendingRequest pending(request.get(), deadline);
    if (!pending.watch()) return failure(reply);

    HINTERNET handle = request.get();
    const DWORD size = static_cast<DWORD>(target.body.size());
    if (!pending.step(
            [&] {
                return WinHttpSendRequest(handle, kHeaders, static_cast<DWORD>(-1),
                                          const_cast<char*>(target.body.data()), size, size,
                                          pending.context()) != FALSE;
            },
            reply) ||
        !pending.step([&] { return WinHttpReceiveResponse(handle, nullptr) != FALSE; }, reply))
        return reply;
    reply.sent = true;

    DWORD status = 0;
    DWORD statusSize = sizeof status;
    WinHttpQueryHeaders(handle, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                        WINHTTP_HEADER_NAME_BY_INDEX, &status, &statusSize, WINHTTP_NO_HEADER_INDEX);
    Exchange& exchange = pending.exchange();
    for (;;) {
        if (!pending.step(
                [&] {
                    return WinHttpReadData(handle, exchange.buffer, sizeof exchange.buffer, nullptr) != FALSE;
                },
                reply))
            return reply;
        std::lock_guard<std::mutex> guard(exchange.lock);
        if (exchange.bytesRead == 0) break;
        reply.body.append(exchange.buffer, exchange.bytesRead);
        if (reply.body.size() >= kAnswerLimit) break;
    }
    reply.answered = true;
    reply.status = static_cast<int>(status);
    return reply;
}

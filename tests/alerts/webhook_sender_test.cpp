// The group robot through WinHTTP against the local server the test runs in
// (tests/support/webhook_server.py): bodies and signatures as they arrive, answers, the
// deadline and the retry, the secure handshake and the user's proxy.
#include "alerts/webhook_sender_win.h"

#include <windows.h>

#include <winhttp.h>

#include <gtest/gtest.h>

#include "common/text_encoding.h"
#include "support/sim_client_process.h"

namespace {

using halyard::testing::JournalEvent;

std::wstring environment(const wchar_t* name) {
    wchar_t value[1024] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, 1024);
    return length > 0 && length < 1024 ? value : L"";
}

class WebhookSenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        port = environment(L"HALYARD_WEBHOOK_PORT");
        log = environment(L"HALYARD_WEBHOOK_LOG");
        ASSERT_FALSE(port.empty()) << "run through tests/support/webhook_server.py";
    }
    std::wstring url(const std::wstring& path) const { return L"http://127.0.0.1:" + port + path; }
    std::vector<JournalEvent> requestsTo(const std::wstring& path) const {
        std::vector<JournalEvent> found;
        for (const JournalEvent& request : halyard::testing::readJournal(log))
            if (request.text("path") == path) found.push_back(request);
        return found;
    }
    WebhookResult send(const std::wstring& path, WebhookFormat format, const std::wstring& text,
                       WebhookTiming timing = WebhookTiming(), const std::wstring& secret = L"") {
        ++pauses;
        timing.epochMs = [] { return 1700000000000LL; };
        return sendWebhook(WebhookTarget{url(path), format, secret}, text, timing, [this](unsigned ms) {
            pausedMs += ms;
            Sleep(ms);
            return true;
        });
    }

    std::wstring port;
    std::wstring log;
    int pauses = 0;
    unsigned pausedMs = 0;
};

TEST_F(WebhookSenderTest, BodiesArriveExactlyAsJsonWithEscapesAndChinese) {
    const struct {
        const wchar_t* path;
        WebhookFormat format;
        const wchar_t* text;
        const wchar_t* body;
        const wchar_t* secret = L"";
        const wchar_t* arrivedAs = nullptr;  // the path on the wire when it is not `path`
    } cases[] = {
        {L"/wecom/send?key=a1", WebhookFormat::WeCom,
         L"浦发银行 在 2014-03-03 10-05-03 满足止损条件 已经执行卖出操作",
         L"{\"msgtype\":\"text\",\"text\":{\"content\":\"浦发银行 在 2014-03-03 10-05-03 满足止损条件 "
         L"已经执行卖出操作\"}}"},
        {L"/wecom/send?key=a2", WebhookFormat::DingTalk, L"引号\" 反斜杠\\ 换行\n结束",
         L"{\"msgtype\":\"text\",\"text\":{\"content\":\"引号\\\" 反斜杠\\\\ 换行\\n结束\"}}"},
        {L"/feishu/hook/a3", WebhookFormat::Feishu, L"测试,来自Halyard 😀\r\t\x01",
         L"{\"msg_type\":\"text\",\"content\":{\"text\":\"测试,来自Halyard 😀\\r\\t\\u0001\"}}"},
        // Signatures computed apart: HMAC-SHA256 and Base64 by Python's hmac and by openssl.
        {L"/wecom/robot/send?access_token=a4", WebhookFormat::DingTalk, L"止损",
         L"{\"msgtype\":\"text\",\"text\":{\"content\":\"止损\"}}", L"SEC0123456789abcdef",
         L"/wecom/robot/send?access_token=a4&timestamp=1700000000000&"
         L"sign=TSZbRFUuvaSQaRKUpF970OPCb2%2FLcQAP3wOvwZIzBZk%3D"},
        {L"/feishu/hook/a5", WebhookFormat::Feishu, L"止损",
         L"{\"timestamp\":\"1700000000\",\"sign\":\"OrBzY1Y01Gq+HgJsl+7OfWcMVwc7YocohQm5iiZwjhU=\","
         L"\"msg_type\":\"text\",\"content\":{\"text\":\"止损\"}}",
         L"feishu-secret"},
        {L"/serverchan/SCTa7.send", WebhookFormat::ServerChan,
         L"浦发银行 在 2014-03-03 10-05-03 满足止损条件 已经执行卖出操作",
         L"{\"title\":\"浦发银行 在 2014-03-03 10-05-03 满足止损条\",\"desp\":\"浦发银行 在 2014-03-03 "
         L"10-05-03 满足止损条件 已经执行卖出操作\"}"},
        {L"/pushplus/send/a8", WebhookFormat::PushPlus, L"止损\n第二行",
         L"{\"title\":\"止损\",\"content\":\"止损\\n第二行\",\"template\":\"txt\"}", L"unused"},
        {L"/wecom/send?key=a6 \r\n", WebhookFormat::WeCom, L"止损",
         L"{\"msgtype\":\"text\",\"text\":{\"content\":\"止损\"}}", L"unused", L"/wecom/send?key=a6"},
    };
    for (const auto& c : cases) {
        const WebhookResult result = send(c.path, c.format, c.text, WebhookTiming(), c.secret);
        EXPECT_EQ(result.kind, WebhookResult::Kind::Delivered) << halyard::toUtf8(webhookOutcomeText(result));
        EXPECT_EQ(result.attempts, 1);
        const auto requests = requestsTo(c.arrivedAs ? c.arrivedAs : c.path);
        ASSERT_EQ(requests.size(), 1u) << halyard::toUtf8(c.path);
        EXPECT_EQ(requests[0].text("body"), c.body);
        EXPECT_EQ(requests[0].text("type"), L"application/json; charset=utf-8");
    }
}

TEST_F(WebhookSenderTest, AnAnswerIsNeverRetriedWhateverItSays) {
    const struct {
        const wchar_t* path;
        WebhookFormat format;
        WebhookResult::Kind kind;
        const wchar_t* outcome;
    } cases[] = {
        {L"/refuse/send?key=b1", WebhookFormat::WeCom, WebhookResult::Kind::Refused,
         L"机器人拒绝 (错误码 93000 invalid webhook url)"},
        {L"/status500/send?key=b2", WebhookFormat::WeCom, WebhookResult::Kind::HttpError,
         L"服务器回答 HTTP 500"},
        {L"/html/send?key=b3", WebhookFormat::DingTalk, WebhookResult::Kind::Unreadable,
         L"回答无法识别 (HTTP 200)"},
        {L"/feishu/b4", WebhookFormat::Feishu, WebhookResult::Kind::Delivered, L"已送达 (错误码 0 success)"},
        {L"/wecom/b5", WebhookFormat::Feishu, WebhookResult::Kind::Unreadable, L"回答无法识别 (HTTP 200)"},
        {L"/pushplusbanned/send/b7", WebhookFormat::PushPlus, WebhookResult::Kind::Refused,
         L"机器人拒绝 (错误码 900 用户账号使用受限)"},
        {L"/serverchanbad/SCTb8.send", WebhookFormat::ServerChan, WebhookResult::Kind::Refused,
         L"机器人拒绝 (错误码 40001 bad pushtoken)"},
    };
    for (const auto& c : cases) {
        const WebhookResult result = send(c.path, c.format, L"止损");
        EXPECT_EQ(result.kind, c.kind) << halyard::toUtf8(c.path);
        EXPECT_EQ(webhookOutcomeText(result), c.outcome);
        EXPECT_EQ(requestsTo(c.path).size(), 1u) << halyard::toUtf8(c.path);
    }
    EXPECT_EQ(pausedMs, 0u);
}

// A retry only when nothing can have reached the server: a timed-out request may already have
// been posted. The deadline covers the whole request, also an answer that keeps trickling in.
TEST_F(WebhookSenderTest, ARequestIsRetriedOnlyWhenNothingWasSentAndEndsByItsDeadline) {
    const struct {
        const wchar_t* path;
        unsigned timeoutMs;
    } cases[] = {
        {L"/slow/c1", 400},
        {L"/slowonce/c2", 400},
        {L"/trickle/c3", 1000},  // each byte within WinHTTP's own receive timeout
    };
    for (const auto& c : cases) {
        const WebhookResult result =
            send(c.path, WebhookFormat::WeCom, L"止损", WebhookTiming(c.timeoutMs, 150));
        EXPECT_EQ(result.kind, WebhookResult::Kind::NetworkError) << halyard::toUtf8(c.path);
        EXPECT_EQ(result.systemError, static_cast<unsigned long>(ERROR_WINHTTP_TIMEOUT))
            << halyard::toUtf8(c.path);
        EXPECT_EQ(webhookOutcomeText(result), L"网络错误 12002 超时");
        EXPECT_EQ(result.attempts, 1);
        EXPECT_EQ(requestsTo(c.path).size(), 1u);
    }
    EXPECT_EQ(pausedMs, 0u);

    // Nothing listens on port 1: refused at once, so tried again after the pause.
    const WebhookResult result =
        sendWebhook(WebhookTarget{L"http://127.0.0.1:1/send", WebhookFormat::WeCom, L""}, L"止损",
                    WebhookTiming(400, 150), [this](unsigned ms) { return pausedMs += ms, true; });
    EXPECT_EQ(result.kind, WebhookResult::Kind::NetworkError);
    EXPECT_FALSE(result.requestSent);
    EXPECT_EQ(result.attempts, 2);
    EXPECT_EQ(pausedMs, 150u);
}

// A server that does not answer TLS is a failed handshake, not a bad certificate, and it is not
// tried again; a user's proxy carries the request (here the local server refuses the tunnel).
TEST_F(WebhookSenderTest, AFailedHandshakeIsToldAsSuchAndTheUsersProxyIsUsed) {
    WebhookResult result =
        sendWebhook(WebhookTarget{L"https://127.0.0.1:" + port + L"/wecom/d1", WebhookFormat::WeCom, L""},
                    L"止损", WebhookTiming(3000, 150), nullptr);
    EXPECT_NE(webhookOutcomeText(result).find(L"加密握手失败"), std::wstring::npos)
        << halyard::toUtf8(webhookOutcomeText(result)) << " " << result.secureFlags;
    EXPECT_EQ(result.attempts, 1);

    // A server that offers only TLS 1.0 and 1.1 must never be agreed with.
    const std::wstring oldTls = environment(L"HALYARD_WEBHOOK_OLD_TLS_PORT");
    if (!oldTls.empty()) {
        result = sendWebhook(
            WebhookTarget{L"https://127.0.0.1:" + oldTls + L"/wecom/d4", WebhookFormat::WeCom, L""}, L"止损",
            WebhookTiming(3000, 150), nullptr);
        for (int i = 0; i < 250 && requestsTo(L"TLS").empty(); ++i) Sleep(20);  // the server logs after us
        const auto handshakes = requestsTo(L"TLS");
        ASSERT_EQ(handshakes.size(), 1u);
        EXPECT_EQ(handshakes[0].text("body"), L"failed");
    }

    // Internet options' record of the user's connection: version, counter, flags (2: a named
    // proxy), then the proxy, the bypass list and the script's address, each with its length.
    const wchar_t* const key =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections";
    HKEY connections = nullptr;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &connections, nullptr),
        ERROR_SUCCESS);
    auto sendThrough = [&](const std::string& proxy, const wchar_t* url) {
        const std::string settings = std::string("\x46\0\0\0\x01\0\0\0\x02\0\0\0", 12) +
                                     static_cast<char>(proxy.size()) + std::string(3, '\0') + proxy +
                                     std::string(24, '\0');
        RegSetValueExW(connections, L"DefaultConnectionSettings", 0, REG_BINARY,
                       reinterpret_cast<const BYTE*>(settings.data()), static_cast<DWORD>(settings.size()));
        return sendWebhook(WebhookTarget{url, WebhookFormat::Feishu, L""}, L"止损", WebhookTiming(3000, 150),
                           [](unsigned) { return true; });
    };
    result = sendThrough("127.0.0.1:" + halyard::toUtf8(port), L"https://robot.example/hook/d2");
    EXPECT_NE(result.kind, WebhookResult::Kind::Delivered);
    EXPECT_EQ(requestsTo(L"CONNECT robot.example:443").size(), 1u)
        << halyard::toUtf8(webhookOutcomeText(result));
    // A proxy that cannot be reached: the second try goes direct (and finds no such server).
    result = sendThrough("127.0.0.1:1", L"https://robot.example/hook/d3");
    EXPECT_EQ(result.attempts, 2);
    EXPECT_EQ(result.systemError, static_cast<unsigned long>(ERROR_WINHTTP_NAME_NOT_RESOLVED))
        << halyard::toUtf8(webhookOutcomeText(result));
    RegDeleteValueW(connections, L"DefaultConnectionSettings");
    RegCloseKey(connections);
}

TEST_F(WebhookSenderTest, TheSecretNeverGoesOutUnencryptedAndBadUrlsSendNothing) {
    const struct {
        const wchar_t* url;
        const wchar_t* outcome;
    } cases[] = {
        {L"http://qyapi.weixin.qq.com/cgi-bin/webhook/send?key=x", L"网址无效: 只支持https网址"},
        {L"", L"网址无效: 网址为空"},
        {L"企业微信机器人", L"网址无效: 无法识别的网址"},
        {L"ftp://127.0.0.1/send", L"网址无效: 无法识别的网址"},
    };
    for (const auto& c : cases) {
        const WebhookResult result = sendWebhook(WebhookTarget{c.url, WebhookFormat::WeCom, L""}, L"止损",
                                                 WebhookTiming(400, 0), nullptr);
        EXPECT_EQ(result.kind, WebhookResult::Kind::BadUrl) << halyard::toUtf8(c.url);
        EXPECT_EQ(webhookOutcomeText(result), c.outcome) << halyard::toUtf8(c.url);
        EXPECT_EQ(result.attempts, 0);
    }
}

}  // namespace

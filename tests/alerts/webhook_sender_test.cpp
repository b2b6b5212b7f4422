// The group robot through WinHTTP against the local server the test runs in
// (tests/support/webhook_server.py): bodies as they arrive, answers, timeout and retry.
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
                       WebhookTiming timing = WebhookTiming()) {
        ++pauses;
        return sendWebhook(WebhookTarget{url(path), format}, text, timing, [this](unsigned ms) {
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
    } cases[] = {
        {L"/wecom/send?key=a1", WebhookFormat::WeCom,
         L"浦发银行 在 2014-03-03 10-05-03 满足止损条件 已经执行卖出操作",
         L"{\"msgtype\":\"text\",\"text\":{\"content\":\"浦发银行 在 2014-03-03 10-05-03 满足止损条件 "
         L"已经执行卖出操作\"}}"},
        {L"/wecom/send?key=a2", WebhookFormat::DingTalk, L"引号\" 反斜杠\\ 换行\n结束",
         L"{\"msgtype\":\"text\",\"text\":{\"content\":\"引号\\\" 反斜杠\\\\ 换行\\n结束\"}}"},
        {L"/feishu/hook/a3", WebhookFormat::Feishu, L"测试,来自Halyard 😀\r\t\x01",
         L"{\"msg_type\":\"text\",\"content\":{\"text\":\"测试,来自Halyard 😀\\r\\t\\u0001\"}}"},
    };
    for (const auto& c : cases) {
        const WebhookResult result = send(c.path, c.format, c.text);
        EXPECT_EQ(result.kind, WebhookResult::Kind::Delivered) << halyard::toUtf8(webhookOutcomeText(result));
        EXPECT_EQ(result.attempts, 1);
        const auto requests = requestsTo(c.path);
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
    };
    for (const auto& c : cases) {
        const WebhookResult result = send(c.path, c.format, L"止损");
        EXPECT_EQ(result.kind, c.kind) << halyard::toUtf8(c.path);
        EXPECT_EQ(webhookOutcomeText(result), c.outcome);
        EXPECT_EQ(requestsTo(c.path).size(), 1u) << halyard::toUtf8(c.path);
    }
    EXPECT_EQ(pausedMs, 0u);
}

TEST_F(WebhookSenderTest, ANetworkErrorIsRetriedOnceAfterThePause) {
    const WebhookTiming quick{400, 150};
    WebhookResult result = send(L"/slow/c1", WebhookFormat::WeCom, L"止损", quick);
    EXPECT_EQ(result.kind, WebhookResult::Kind::NetworkError);
    // Wine reports the socket's timeout where Windows reports WinHTTP's.
    EXPECT_TRUE(result.systemError == ERROR_WINHTTP_TIMEOUT || result.systemError == 10060)
        << result.systemError;
    EXPECT_NE(webhookOutcomeText(result).find(L"超时 (已重试)"), std::wstring::npos);
    EXPECT_EQ(result.attempts, 2);
    EXPECT_EQ(pausedMs, 150u);
    EXPECT_EQ(requestsTo(L"/slow/c1").size(), 2u);

    result = send(L"/slowonce/c2", WebhookFormat::WeCom, L"止损", quick);
    EXPECT_EQ(result.kind, WebhookResult::Kind::Delivered);
    EXPECT_EQ(result.attempts, 2);
    EXPECT_EQ(requestsTo(L"/slowonce/c2").size(), 2u);

    // Nothing listens on port 1: refused at once, twice.
    pausedMs = 0;
    result = sendWebhook(WebhookTarget{L"http://127.0.0.1:1/send", WebhookFormat::WeCom}, L"止损", quick,
                         [this](unsigned ms) { return pausedMs += ms, true; });
    EXPECT_EQ(result.kind, WebhookResult::Kind::NetworkError);
    EXPECT_EQ(result.attempts, 2);
    EXPECT_EQ(pausedMs, 150u);
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
        const WebhookResult result =
            sendWebhook(WebhookTarget{c.url, WebhookFormat::WeCom}, L"止损", WebhookTiming{400, 0}, nullptr);
        EXPECT_EQ(result.kind, WebhookResult::Kind::BadUrl) << halyard::toUtf8(c.url);
        EXPECT_EQ(webhookOutcomeText(result), c.outcome) << halyard::toUtf8(c.url);
        EXPECT_EQ(result.attempts, 0);
    }
}

}  // namespace

#pragma once
// The group-robot webhook's texts: the JSON body each robot takes, the reading of its answer,
// the URL as the journal may show it, and the outcome of a send in words.
#include <string>

// 企业微信 and 钉钉 take {"msgtype":"text","text":{"content":...}} and answer "errcode";
// 飞书 takes {"msg_type":"text","content":{"text":...}} and answers "code".
enum class WebhookFormat { WeCom = 0, DingTalk = 1, Feishu = 2 };
// A stored format number; anything unknown is the first format.
WebhookFormat webhookFormatOf(int stored);
// The formats' names in the order of their numbers.
const wchar_t* webhookFormatName(WebhookFormat format);
constexpr int kWebhookFormatCount = 3;

struct WebhookTarget {
    std::wstring url;
    WebhookFormat format = WebhookFormat::WeCom;
    // The robot's signing secret (钉钉 加签, 飞书 签名校验); empty for an unsigned robot.
    std::wstring secret;
};

// A JSON string literal of the text in UTF-8, quotes included.
std::string jsonQuoted(const std::wstring& text);
std::string webhookBody(WebhookFormat format, const std::wstring& text);

struct WebhookAnswer {
    bool recognised = false;  // a JSON object holding the format's code as a number
    long long code = 0;
    std::wstring message;  // "errmsg" or "msg" when present
};
WebhookAnswer readWebhookAnswer(WebhookFormat format, const std::string& body);

// The URL with its secret hidden: every query value, a user name and password, a fragment, and
// the last path segment (before a final "/") when there is no query or the segment is as long as
// a token.
std::wstring maskedWebhookUrl(const std::wstring& url);

struct WebhookResult {
    enum class Kind { Delivered, Refused, HttpError, Unreadable, NetworkError, BadUrl, Unsigned };
    Kind kind = Kind::BadUrl;
    int httpStatus = 0;
    unsigned long systemError = 0;  // the network error's code
    WebhookAnswer answer;
    int attempts = 0;
    bool requestSent = false;       // the request may have reached the server
    unsigned long secureFlags = 0;  // what the secure connection reported wrong (WinHTTP's flags)
    std::wstring detail;            // why the URL was refused
};
std::wstring webhookOutcomeText(const WebhookResult& result);

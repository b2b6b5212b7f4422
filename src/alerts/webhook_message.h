#pragma once
// The group-robot webhook's texts: the JSON body each robot takes, the reading of its answer,
// the URL as the journal may show it, and the outcome of a send in words.
#include <string>

// 企业微信 and 钉钉 take {"msgtype":"text","text":{"content":...}} and answer "errcode";
// 飞书 takes {"msg_type":"text","content":{"text":...}} and answers "code". The two push
// services reach the investor's own phone: Server酱 takes {"title","desp"} at an address made
// of the SendKey and answers "code" 0; PushPlus takes {"token","title","content","template"}
// and answers "code" 200.
enum class WebhookFormat { WeCom = 0, DingTalk = 1, Feishu = 2, ServerChan = 3, PushPlus = 4 };
// A stored format number; anything unknown is the first format.
WebhookFormat webhookFormatOf(int stored);
// The formats' names in the order of their numbers.
const wchar_t* webhookFormatName(WebhookFormat format);
constexpr int kWebhookFormatCount = 5;
// A push service limits a day's messages; the user types its key, not an address.
bool isPushService(WebhookFormat format);

struct WebhookTarget {
    // The robot's URL; for a push service the SendKey or token (or a whole address typed instead).
    std::wstring url;
    WebhookFormat format = WebhookFormat::WeCom;
    // The robot's signing secret (钉钉 加签, 飞书 签名校验); empty for an unsigned robot.
    std::wstring secret;
};

// A JSON string literal of the text in UTF-8, quotes included.
std::string jsonQuoted(const std::wstring& text);
std::string webhookBody(WebhookFormat format, const std::wstring& text);
// Where a push service is posted to: its documented address for a key, or the address typed;
// empty when the key holds a character no address may carry.
std::wstring pushServiceUrl(WebhookFormat format, const std::wstring& typed);
std::string pushServiceBody(WebhookFormat format, const std::wstring& typed, const std::wstring& text);

struct WebhookAnswer {
    bool recognised = false;  // a JSON object holding the format's code as a number
    long long code = 0;
    std::wstring message;  // "errmsg" or "msg" when present
};
WebhookAnswer readWebhookAnswer(WebhookFormat format, const std::string& body);
// The code of an answer that says the message was taken.
long long deliveredCode(WebhookFormat format);

// The URL with its secret hidden: every query value, a user name and password, a fragment, and
// the last path segment (before a final "/") when there is no query or the segment is as long as
// a token.
std::wstring maskedWebhookUrl(const std::wstring& url);
// The target as the journal names it: the masked URL, or the push service's name for a key.
std::wstring webhookRecipient(const WebhookTarget& target);

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

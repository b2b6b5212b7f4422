#include "alerts/webhook_message.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "common/c_format.h"
#include "common/json_text.h"
#include "common/text_encoding.h"

namespace {

// Reads the top-level members of one JSON object; nested values are skipped.
class JsonReader {
public:
    explicit JsonReader(const std::string& text) : text_(text) {}

    template <typename Member>
    bool members(Member member) {
        if (!skip('{')) return false;
        if (skip('}')) return true;
        for (;;) {
            std::string key;
            if (!string(key) || !skip(':')) return false;
            if (!member(key, *this)) return false;
            if (skip(',')) continue;
            return skip('}');
        }
    }
    bool integer(long long& value, bool& isInteger) {
        space();
        const size_t start = at_;
        if (at_ < text_.size() && text_[at_] == '-') ++at_;
        while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) ++at_;
        isInteger = at_ > start && (at_ < text_.size() ? text_[at_] != '.' && text_[at_] != 'e' : true);
        if (isInteger) value = std::strtoll(text_.substr(start, at_ - start).c_str(), nullptr, 10);
        at_ = start;
        return value_();
    }
    bool string(std::string& out) {
        space();
        if (at_ >= text_.size() || text_[at_] != '"') return false;
        ++at_;
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (c == '"') return true;
            if (c != '\\') {
                out.push_back(c);
                continue;
            }
            if (at_ >= text_.size()) return false;
            const char escaped = text_[at_++];
            switch (escaped) {
                case 'n':
                    out.push_back('\n');
                    break;
                case 't':
                    out.push_back('\t');
                    break;
                case 'r':
                    out.push_back('\r');
                    break;
                case 'b':
                    out.push_back('\b');
                    break;
                case 'f':
                    out.push_back('\f');
                    break;
                case 'u': {
                    if (at_ + 4 > text_.size()) return false;
                    const unsigned long unit = std::strtoul(text_.substr(at_, 4).c_str(), nullptr, 16);
                    at_ += 4;
                    out += halyard::toUtf8(std::wstring(1, static_cast<wchar_t>(unit)));
                    break;
                }
                default:
                    out.push_back(escaped);
            }
        }
        return false;
    }
    bool value_() {
        space();
        if (at_ >= text_.size()) return false;
        const char c = text_[at_];
        if (c == '"') {
            std::string ignored;
            return string(ignored);
        }
        if (c == '{' || c == '[') {
            const char close = c == '{' ? '}' : ']';
            ++at_;
            if (skip(close)) return true;
            for (;;) {
                if (c == '{') {
                    std::string key;
                    if (!string(key) || !skip(':')) return false;
                }
                if (!value_()) return false;
                if (skip(',')) continue;
                return skip(close);
            }
        }
        const size_t start = at_;
        while (at_ < text_.size() && std::strchr(",}] \t\r\n", text_[at_]) == nullptr) ++at_;
        return at_ > start;
    }

private:
    void space() {
        while (at_ < text_.size() && text_[at_] != '\0' && std::strchr(" \t\r\n", text_[at_]) != nullptr)
            ++at_;
    }
    bool skip(char wanted) {
        space();
        if (at_ >= text_.size() || text_[at_] != wanted) return false;
        ++at_;
        return true;
    }

    const std::string& text_;
    size_t at_ = 0;
};

// What a secure connection's failure flags say about the certificate (revocation, validity,
// issuer, name, dates, usage); the remaining flag is the secure channel itself.
constexpr unsigned long kCertificateFlags = 0x7F;

// Words for the network errors a user can act on (WinHTTP's codes, and the socket's under Wine).
// A handshake that failed (no common TLS version, a server that does not speak TLS) is not a
// certificate fault, and the user must not be sent to look for one.
std::wstring networkErrorWords(unsigned long code, unsigned long secureFlags) {
    switch (code) {
        case 12002:
        case 10060:
            return L" 超时";
        case 12007:
        case 11001:
            return L" 找不到服务器";
        case 12029:
        case 10061:
            return L" 无法连接";
        case 12157:
            return L" 加密握手失败";
        case 12175:
            return (secureFlags & kCertificateFlags) != 0 ? L" 证书无效" : L" 加密握手失败";
        case 12037:
        case 12038:
        case 12044:
        case 12045:
        case 12169:
            return L" 证书无效";
        default:
            return L"";
    }
}

}  // namespace

WebhookFormat webhookFormatOf(int stored) {
    return stored > 0 && stored < kWebhookFormatCount ? static_cast<WebhookFormat>(stored)
                                                      : WebhookFormat::WeCom;
}

const wchar_t* webhookFormatName(WebhookFormat format) {
    switch (format) {
        case WebhookFormat::DingTalk:
            return L"钉钉";
        case WebhookFormat::Feishu:
            return L"飞书";
        case WebhookFormat::ServerChan:
            return L"Server酱";
        case WebhookFormat::PushPlus:
            return L"PushPlus";
        default:
            return L"企业微信";
    }
}

bool isPushService(WebhookFormat format) {
    return format == WebhookFormat::ServerChan || format == WebhookFormat::PushPlus;
}

std::string jsonQuoted(const std::wstring& text) {
    return halyard::jsonQuoted(halyard::toUtf8(text));
}

std::string webhookBody(WebhookFormat format, const std::wstring& text) {
    if (format == WebhookFormat::Feishu)
        return "{\"msg_type\":\"text\",\"content\":{\"text\":" + jsonQuoted(text) + "}}";
    return "{\"msgtype\":\"text\",\"text\":{\"content\":" + jsonQuoted(text) + "}}";
}

namespace {

bool isAddress(const std::wstring& typed) {
    return typed.find(L"://") != std::wstring::npos;
}

// The first line of the text, at most `most` characters, a surrogate pair kept whole.
std::wstring titleOf(const std::wstring& text, size_t most) {
    std::wstring title = text.substr(0, text.find_first_of(L"\r\n"));
    if (title.size() <= most) return title;
    const bool cutsPair = title[most - 1] >= 0xD800 && title[most - 1] <= 0xDBFF;
    title.resize(cutsPair ? most - 1 : most);
    return title;
}

constexpr size_t kServerChanTitleLength = 32;
constexpr size_t kPushPlusTitleLength = 100;

}  // namespace

std::wstring pushServiceUrl(WebhookFormat format, const std::wstring& typed) {
    if (typed.empty() || isAddress(typed)) return typed;
    if (format == WebhookFormat::PushPlus) return L"https://www.pushplus.plus/send";
    const bool plain = !typed.empty() && std::all_of(typed.begin(), typed.end(), [](wchar_t c) {
        return c < 0x80 && (std::isalnum(static_cast<unsigned char>(c)) || c == L'_' || c == L'-');
    });
    if (!plain) return L"";
    // A Server酱³ key "sctp<uid>t..." is sent to its user's own host.
    if (typed.compare(0, 4, L"sctp") == 0) {
        const size_t end = typed.find(L't', 4);
        if (end != std::wstring::npos && end > 4 &&
            std::all_of(typed.begin() + 4, typed.begin() + static_cast<std::ptrdiff_t>(end),
                        [](wchar_t c) { return c >= L'0' && c <= L'9'; }))
            return L"https://" + typed.substr(4, end - 4) + L".push.ft07.com/send/" + typed + L".send";
    }
    return L"https://sctapi.ftqq.com/" + typed + L".send";
}

std::string pushServiceBody(WebhookFormat format, const std::wstring& typed, const std::wstring& text) {
    if (format == WebhookFormat::ServerChan)
        return "{\"title\":" + jsonQuoted(titleOf(text, kServerChanTitleLength)) +
               ",\"desp\":" + jsonQuoted(text) + "}";
    // An address typed whole carries the token in its path.
    const std::string token = isAddress(typed) ? "" : "\"token\":" + jsonQuoted(typed) + ",";
    return "{" + token + "\"title\":" + jsonQuoted(titleOf(text, kPushPlusTitleLength)) +
           ",\"content\":" + jsonQuoted(text) + ",\"template\":\"txt\"}";
}

long long deliveredCode(WebhookFormat format) {
    return format == WebhookFormat::PushPlus ? 200 : 0;
}

WebhookAnswer readWebhookAnswer(WebhookFormat format, const std::string& body) {
    const bool newer = format != WebhookFormat::WeCom && format != WebhookFormat::DingTalk;
    const std::string codeName = newer ? "code" : "errcode";
    const std::string messageName =
        format == WebhookFormat::ServerChan ? "message" : (newer ? "msg" : "errmsg");
    WebhookAnswer answer;
    bool haveCode = false;
    JsonReader reader(body);
    const bool whole = reader.members([&](const std::string& key, JsonReader& value) {
        if (key == codeName) {
            bool isInteger = false;
            long long code = 0;
            if (!value.integer(code, isInteger)) return false;
            if (isInteger) {
                answer.code = code;
                haveCode = true;
            }
            return true;
        }
        if (key == messageName) {
            std::string message;
            if (value.string(message)) {
                answer.message = halyard::fromUtf8(message);
                return true;
            }
        }
        return value.value_();
    });
    answer.recognised = whole && haveCode;
    return answer;
}

namespace {

constexpr size_t kTokenLength = 16;
constexpr wchar_t kMask[] = L"***";

std::wstring maskedQuery(const std::wstring& query) {
    std::wstring masked;
    size_t at = 0;
    for (;;) {
        size_t end = query.find(L'&', at);
        if (end == std::wstring::npos) end = query.size();
        const std::wstring pair = query.substr(at, end - at);
        const size_t equals = pair.find(L'=');
        // A bare value ("?token") is a value all the same.
        if (equals != std::wstring::npos)
            masked += pair.substr(0, equals + 1) + kMask;
        else if (!pair.empty())
            masked += kMask;
        if (end == query.size()) return masked;
        masked += L'&';
        at = end + 1;
    }
}

// The path's last non-empty segment, masked when `always` or when it is as long as a token.
std::wstring maskedPath(const std::wstring& path, bool always) {
    size_t end = path.size();
    while (end > 0 && path[end - 1] == L'/') --end;
    const size_t start = path.rfind(L'/', end == 0 ? 0 : end - 1);
    if (end == 0 || start == std::wstring::npos || start + 1 >= end) return path;
    if (!always && end - start - 1 < kTokenLength) return path;
    return path.substr(0, start + 1) + kMask + path.substr(end);
}

}  // namespace

std::wstring maskedWebhookUrl(const std::wstring& url) {
    std::wstring rest = url;
    std::wstring fragment;
    const size_t hash = rest.find(L'#');
    if (hash != std::wstring::npos) {
        fragment = L"#" + std::wstring(kMask);
        rest.resize(hash);
    }
    std::wstring query;
    const size_t question = rest.find(L'?');
    if (question != std::wstring::npos) {
        query = L"?" + maskedQuery(rest.substr(question + 1));
        rest.resize(question);
    }
    const size_t scheme = rest.find(L"://");
    const size_t hostStart = scheme == std::wstring::npos ? 0 : scheme + 3;
    size_t pathStart = rest.find(L'/', hostStart);
    if (pathStart == std::wstring::npos) pathStart = rest.size();
    std::wstring host = rest.substr(hostStart, pathStart - hostStart);
    const size_t at = host.rfind(L'@');
    if (at != std::wstring::npos) host = kMask + host.substr(at);
    return rest.substr(0, hostStart) + host + maskedPath(rest.substr(pathStart), query.empty()) + query +
           fragment;
}

std::wstring webhookRecipient(const WebhookTarget& target) {
    if (isPushService(target.format) && !isAddress(target.url))
        return std::wstring(webhookFormatName(target.format)) + L" " + kMask;
    return maskedWebhookUrl(target.url);
}

std::wstring webhookOutcomeText(const WebhookResult& result) {
    const std::wstring code = halyard::wcformat("%lld", result.answer.code);
    const std::wstring message = result.answer.message.empty() ? L"" : L" " + result.answer.message;
    switch (result.kind) {
        case WebhookResult::Kind::Delivered:
            return L"已送达 (错误码 " + code + message + L")";
        case WebhookResult::Kind::Refused:
            return L"机器人拒绝 (错误码 " + code + message + L")";
        case WebhookResult::Kind::HttpError:
            return L"服务器回答 HTTP " + halyard::wcformat("%d", result.httpStatus);
        case WebhookResult::Kind::Unreadable:
            return L"回答无法识别 (HTTP " + halyard::wcformat("%d", result.httpStatus) + L")";
        case WebhookResult::Kind::NetworkError:
            return L"网络错误 " + halyard::wcformat("%lu", result.systemError) +
                   networkErrorWords(result.systemError, result.secureFlags) +
                   (result.attempts > 1 ? L" (已重试)" : L"");
        case WebhookResult::Kind::Unsigned:
            return L"无法计算签名, 未发送";
        case WebhookResult::Kind::BadUrl:
            break;
    }
    return L"网址无效" + (result.detail.empty() ? L"" : L": " + result.detail);
}

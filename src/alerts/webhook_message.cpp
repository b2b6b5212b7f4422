#include "alerts/webhook_message.h"

#include <cctype>
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

// Words for the network errors a user can act on (WinHTTP's codes, and the socket's under Wine).
std::wstring networkErrorWords(unsigned long code) {
    switch (code) {
        case 12002:
        case 10060:
            return L" 超时";
        case 12007:
            return L" 找不到服务器";
        case 12029:
        case 10061:
            return L" 无法连接";
        case 12037:
        case 12038:
        case 12044:
        case 12045:
        case 12169:
        case 12175:
            return L" 证书无效";
        default:
            return L"";
    }
}

}  // namespace

WebhookFormat webhookFormatOf(int stored) {
    if (stored == 1) return WebhookFormat::DingTalk;
    if (stored == 2) return WebhookFormat::Feishu;
    return WebhookFormat::WeCom;
}

const wchar_t* webhookFormatName(WebhookFormat format) {
    switch (format) {
        case WebhookFormat::DingTalk:
            return L"钉钉";
        case WebhookFormat::Feishu:
            return L"飞书";
        default:
            return L"企业微信";
    }
}

std::string jsonQuoted(const std::wstring& text) {
    return halyard::jsonQuoted(halyard::toUtf8(text));
}

std::string webhookBody(WebhookFormat format, const std::wstring& text) {
    if (format == WebhookFormat::Feishu)
        return "{\"msg_type\":\"text\",\"content\":{\"text\":" + jsonQuoted(text) + "}}";
    return "{\"msgtype\":\"text\",\"text\":{\"content\":" + jsonQuoted(text) + "}}";
}

WebhookAnswer readWebhookAnswer(WebhookFormat format, const std::string& body) {
    const std::string codeName = format == WebhookFormat::Feishu ? "code" : "errcode";
    const std::string messageName = format == WebhookFormat::Feishu ? "msg" : "errmsg";
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

std::wstring maskedWebhookUrl(const std::wstring& url) {
    const size_t query = url.find(L'?');
    if (query != std::wstring::npos) {
        std::wstring masked = url.substr(0, query + 1);
        size_t at = query + 1;
        while (at <= url.size()) {
            size_t end = url.find(L'&', at);
            if (end == std::wstring::npos) end = url.size();
            const std::wstring pair = url.substr(at, end - at);
            const size_t equals = pair.find(L'=');
            masked += (equals == std::wstring::npos ? pair : pair.substr(0, equals + 1) + L"***");
            if (end == url.size()) break;
            masked += L'&';
            at = end + 1;
        }
        return masked;
    }
    const size_t hostStart = url.find(L"://");
    const size_t pathStart = url.find(L'/', hostStart == std::wstring::npos ? 0 : hostStart + 3);
    const size_t lastSlash = url.rfind(L'/');
    if (pathStart == std::wstring::npos || lastSlash + 1 >= url.size()) return url;
    return url.substr(0, lastSlash + 1) + L"***";
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
                   networkErrorWords(result.systemError) + (result.attempts > 1 ? L" (已重试)" : L"");
        case WebhookResult::Kind::BadUrl:
            break;
    }
    return L"网址无效" + (result.detail.empty() ? L"" : L": " + result.detail);
}

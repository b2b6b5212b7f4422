#include "alerts/webhook_signature.h"

#include "common/c_format.h"
#include "common/text_encoding.h"

namespace {

// The sign is Base64: '+', '/' and '=' must not be read as the query's own characters.
std::wstring urlEncoded(const std::string& text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::wstring encoded;
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
            byte == '-' || byte == '_' || byte == '.' || byte == '~') {
            encoded.push_back(static_cast<wchar_t>(byte));
        } else {
            encoded += L'%';
            encoded.push_back(static_cast<wchar_t>(kHex[byte >> 4]));
            encoded.push_back(static_cast<wchar_t>(kHex[byte & 15]));
        }
    }
    return encoded;
}

}  // namespace

void webhookSigningInput(WebhookFormat format, long long timestamp, const std::wstring& secret,
                         std::string& key, std::string& message) {
    const std::string secretText = halyard::toUtf8(secret);
    const std::string stringToSign = halyard::cformat("%lld", timestamp) + "\n" + secretText;
    if (format == WebhookFormat::Feishu) {
        key = stringToSign;
        message.clear();
    } else {
        key = secretText;
        message = stringToSign;
    }
}

long long webhookSignatureTime(WebhookFormat format, long long epochMs) {
    return format == WebhookFormat::Feishu ? epochMs / 1000 : epochMs;
}

std::string base64(const std::string& bytes) {
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (size_t at = 0; at < bytes.size(); at += 3) {
        const size_t left = bytes.size() - at;
        unsigned long group = static_cast<unsigned char>(bytes[at]) << 16;
        if (left > 1) group |= static_cast<unsigned char>(bytes[at + 1]) << 8;
        if (left > 2) group |= static_cast<unsigned char>(bytes[at + 2]);
        text += kAlphabet[(group >> 18) & 63];
        text += kAlphabet[(group >> 12) & 63];
        text += left > 1 ? kAlphabet[(group >> 6) & 63] : '=';
        text += left > 2 ? kAlphabet[group & 63] : '=';
    }
    return text;
}

std::wstring signedWebhookUrl(WebhookFormat format, const std::wstring& url,
                              const WebhookSignature& signature) {
    if (format != WebhookFormat::DingTalk) return url;
    const wchar_t separator = url.find(L'?') == std::wstring::npos ? L'?' : L'&';
    return url + separator + L"timestamp=" + halyard::wcformat("%lld", signature.timestamp) + L"&sign=" +
           urlEncoded(signature.sign);
}

std::string signedWebhookBody(WebhookFormat format, const std::wstring& text,
                              const WebhookSignature& signature) {
    const std::string body = webhookBody(format, text);
    if (format != WebhookFormat::Feishu) return body;
    // The signature's members come first, before the message's own.
    return "{\"timestamp\":\"" + halyard::cformat("%lld", signature.timestamp) +
           "\",\"sign\":" + jsonQuoted(halyard::fromUtf8(signature.sign)) + "," + body.substr(1);
}

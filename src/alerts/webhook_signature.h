#pragma once
// The signed robots' proof of their secret, as each service checks it. The HMAC itself is the
// system's (hmac_sha256_win.h); what it is taken of and where the result goes is here.
#include <string>

#include "alerts/webhook_message.h"

// A signed robot's proof of the secret: the time it was made and its signature (Base64 of the
// HMAC-SHA256 named by webhookSigningInput).
struct WebhookSignature {
    long long timestamp = 0;  // 钉钉 milliseconds, 飞书 seconds
    std::string sign;
};
// The key and the message the HMAC is taken of, in UTF-8: 钉钉 signs "timestamp\nsecret" with the
// secret, 飞书 signs nothing with "timestamp\nsecret" as the key.
void webhookSigningInput(WebhookFormat format, long long timestamp, const std::wstring& secret,
                         std::string& key, std::string& message);
// The signature's timestamp for the epoch time in milliseconds.
long long webhookSignatureTime(WebhookFormat format, long long epochMs);
std::string base64(const std::string& bytes);
// 钉钉 takes the signature in the URL, 飞书 in the body; 企业微信 has none.
std::wstring signedWebhookUrl(WebhookFormat format, const std::wstring& url,
                              const WebhookSignature& signature);
std::string signedWebhookBody(WebhookFormat format, const std::wstring& text,
                              const WebhookSignature& signature);

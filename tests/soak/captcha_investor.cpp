#include "soak/captcha_investor.h"

#include "common/text_encoding.h"
#include "e2e/client_run.h"

namespace soak {
namespace {

constexpr long long kReadEveryMs = 500;
constexpr long long kRetryAfterMs = 1000;

// The codes of the journal's captcha_asked lines, in order.
std::vector<std::wstring> askedCodes(const std::string& journal) {
    std::vector<std::wstring> codes;
    const std::string key = "\"code\":\"";
    for (size_t at = journal.find("\"event\":\"captcha_asked\""); at != std::string::npos;
         at = journal.find("\"event\":\"captcha_asked\"", at + 1)) {
        const size_t lineEnd = journal.find('\n', at);
        if (lineEnd == std::string::npos) break;  // still being written
        const size_t start = journal.find(key, at);
        if (start == std::string::npos || start > lineEnd) continue;
        const size_t end = journal.find('"', start + key.size());
        codes.push_back(halyard::fromUtf8(journal.substr(start + key.size(), end - start - key.size())));
    }
    return codes;
}

}  // namespace

void CaptchaInvestor::watch(const std::wstring& journalPath) {
    path_ = journalPath;
    asksSeen_ = 0;
    waiting_.clear();
}

std::vector<std::wstring> CaptchaInvestor::due(long long nowMs) {
    std::vector<std::wstring> codes;
    if (!enabled() || path_.empty()) return codes;
    if (lastReadMs_ < 0 || nowMs - lastReadMs_ >= kReadEveryMs) readNewAsks(nowMs);
    while (!waiting_.empty() && waiting_.front().atMs <= nowMs) {
        codes.push_back(waiting_.front().code);
        waiting_.pop_front();
    }
    return codes;
}

void CaptchaInvestor::giveBack(const std::wstring& code, long long nowMs) {
    waiting_.push_back(Ask{nowMs + kRetryAfterMs, code});
}

void CaptchaInvestor::readNewAsks(long long nowMs) {
    lastReadMs_ = nowMs;
    const std::vector<std::wstring> codes = askedCodes(readSharedFile(path_));
    // A code asked again replaces the one still waiting: only the dialog's latest one is right.
    for (size_t i = asksSeen_; i < codes.size(); ++i) {
        waiting_.clear();
        waiting_.push_back(Ask{nowMs + delayMs_, codes[i]});
    }
    if (codes.size() > asksSeen_) asksSeen_ = codes.size();
}

}  // namespace soak

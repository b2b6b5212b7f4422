#pragma once
// The investor at the client: each code the client asks for in its captcha dialog is typed some
// seconds later, as someone reading the dialog would; the client journals every code it shows.
#include <deque>
#include <string>
#include <vector>

namespace soak {

class CaptchaInvestor {
public:
    explicit CaptchaInvestor(long long delayMs) : delayMs_(delayMs) {}
    bool enabled() const { return delayMs_ > 0; }
    // A new client process: its journal, whose codes are counted from its start.
    void watch(const std::wstring& journalPath);
    // The codes to type by `nowMs`, each once; one that could not be typed is given back.
    std::vector<std::wstring> due(long long nowMs);
    void giveBack(const std::wstring& code, long long nowMs);

private:
    struct Ask {
        long long atMs;
        std::wstring code;
    };
    void readNewAsks(long long nowMs);

    long long delayMs_;
    std::wstring path_;
    size_t asksSeen_ = 0;
    long long lastReadMs_ = -1;
    std::deque<Ask> waiting_;
};

}  // namespace soak

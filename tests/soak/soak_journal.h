#pragma once
// The soak driver's own journal: one flat JSON object per line, {"t":<ms since the market
// started>,"event":...}, written by the schedule and the watch threads alike.
#include <windows.h>

#include <cstdio>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace soak {

class SoakJournal {
public:
    using Fields = std::vector<std::pair<std::string, std::wstring>>;

    bool open(const std::wstring& path);
    ~SoakJournal();
    void startClock() { start_ = GetTickCount64(); }
    long long elapsedMs() const { return static_cast<long long>(GetTickCount64() - start_); }
    // Values that are whole numbers are written as numbers, the rest as strings.
    void write(const char* event, const Fields& fields = {});

private:
    std::mutex lock_;
    std::FILE* file_ = nullptr;
    ULONGLONG start_ = GetTickCount64();
};

}  // namespace soak

#pragma once
// The client's journal: one flat JSON object per line, {"t":<ms since start>,"event":...},
// flushed line by line so that tests can follow it while the client runs.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace halyard::simclient {

class JournalLine {
public:
    explicit JournalLine(const char* event);
    JournalLine& text(const char* key, const std::wstring& value);
    JournalLine& number(const char* key, long long value);
    JournalLine& decimal(const char* key, double value);  // two decimals, the market's tick
    // The complete line without its line end.
    std::string json(long long elapsedMs) const;

private:
    std::string fields_;
};

class Journal {
public:
    Journal() : start_(std::chrono::steady_clock::now()) {}
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    // Without a file the journal only keeps time.
    bool open(const std::wstring& path);
    void write(const JournalLine& line);
    long long elapsedMs() const;

private:
    std::chrono::steady_clock::time_point start_;
    std::FILE* file_ = nullptr;
};

}  // namespace halyard::simclient

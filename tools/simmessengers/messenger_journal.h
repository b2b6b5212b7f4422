#pragma once
// The stand-ins' journal: one flat JSON object per line with the milliseconds since start ("t")
// and the local time ("time"), flushed line by line so that a test can follow it.
#include <chrono>
#include <cstdio>
#include <string>

namespace halyard::simmessengers {

class MessengerJournal {
public:
    // Without a path nothing is written.
    explicit MessengerJournal(const std::wstring& path);
    ~MessengerJournal();
    MessengerJournal(const MessengerJournal&) = delete;
    MessengerJournal& operator=(const MessengerJournal&) = delete;

    // recipient: the phone number or the chat window's nickname.
    void received(const char* event, const std::wstring& recipient, const std::wstring& text);
    void note(const char* event);

private:
    void write(const char* event, const std::string& fields);

    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::FILE* file_ = nullptr;
};

}  // namespace halyard::simmessengers

#pragma once
// The stand-ins' journal: one flat JSON object per line with the milliseconds since start ("t")
// and the local time ("time"), flushed line by line so that a test can follow it.
#include <string>

#include "simclient/journal.h"

namespace halyard::simmessengers {

class MessengerJournal {
public:
    explicit MessengerJournal(const std::wstring& path);
    // recipient: the phone number or the chat window's nickname.
    void received(const char* event, const std::wstring& recipient, const std::wstring& text);
    void note(const char* event);

private:
    simclient::Journal journal_;
};

}  // namespace halyard::simmessengers

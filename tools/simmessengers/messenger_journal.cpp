#include "simmessengers/messenger_journal.h"

#include <windows.h>

#include "common/c_format.h"

namespace halyard::simmessengers {
namespace {

std::wstring localTime() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return wcformat("%02d:%02d:%02d.%03d", now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
}

}  // namespace

MessengerJournal::MessengerJournal(const std::wstring& path) {
    if (!path.empty()) journal_.open(path);
}

void MessengerJournal::received(const char* event, const std::wstring& recipient, const std::wstring& text) {
    journal_.write(simclient::JournalLine(event)
                       .text("to", recipient)
                       .text("text", text)
                       .number("units", static_cast<long long>(text.size()))
                       .text("time", localTime()));
}

void MessengerJournal::note(const char* event) {
    journal_.write(simclient::JournalLine(event).text("time", localTime()));
}

}  // namespace halyard::simmessengers

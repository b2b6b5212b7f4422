#include "simmessengers/messenger_journal.h"

#include <windows.h>

#include "common/c_format.h"
#include "common/text_encoding.h"

namespace halyard::simmessengers {
namespace {

std::string quoted(const std::wstring& text) {
    std::string out = "\"";
    for (unsigned char c : toUtf8(text)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            out += cformat("\\u%04x", c);
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::wstring localTime() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return wcformat("%02d:%02d:%02d.%03d", now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
}

}  // namespace

MessengerJournal::MessengerJournal(const std::wstring& path) {
    if (!path.empty()) file_ = _wfopen(path.c_str(), L"ab");
}

MessengerJournal::~MessengerJournal() {
    if (file_) std::fclose(file_);
}

void MessengerJournal::received(const char* event, const std::wstring& recipient, const std::wstring& text) {
    write(event, ",\"to\":" + quoted(recipient) + ",\"text\":" + quoted(text) +
                     cformat(",\"units\":%lld", static_cast<long long>(text.size())));
}

void MessengerJournal::note(const char* event) {
    write(event, "");
}

void MessengerJournal::write(const char* event, const std::string& fields) {
    if (!file_) return;
    const long long elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_)
            .count();
    const std::string line = cformat("{\"t\":%lld,\"event\":\"%s\"", elapsed, event) + fields +
                             ",\"time\":" + quoted(localTime()) + "}\n";
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}

}  // namespace halyard::simmessengers

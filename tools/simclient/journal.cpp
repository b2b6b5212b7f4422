#include "simclient/journal.h"

#include "common/c_format.h"
#include "common/json_text.h"
#include "common/text_encoding.h"

namespace halyard::simclient {

JournalLine::JournalLine(const char* event) {
    fields_ = ",\"event\":" + jsonQuoted(event);
}

JournalLine& JournalLine::text(const char* key, const std::wstring& value) {
    fields_ += "," + jsonQuoted(key) + ":" + jsonQuoted(toUtf8(value));
    return *this;
}

JournalLine& JournalLine::number(const char* key, long long value) {
    fields_ += "," + jsonQuoted(key) + ":" + cformat("%lld", value);
    return *this;
}

JournalLine& JournalLine::decimal(const char* key, double value) {
    fields_ += "," + jsonQuoted(key) + ":" + cformat("%.2f", value);
    return *this;
}

std::string JournalLine::json(long long elapsedMs) const {
    return "{\"t\":" + cformat("%lld", elapsedMs) + fields_ + "}";
}

Journal::~Journal() {
    if (file_) std::fclose(file_);
}

bool Journal::open(const std::wstring& path) {
#ifdef _WIN32
    file_ = _wfopen(path.c_str(), L"ab");
#else
    file_ = std::fopen(toUtf8(path).c_str(), "ab");
#endif
    return file_ != nullptr;
}

long long Journal::elapsedMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_)
        .count();
}

void Journal::write(const JournalLine& line) {
    if (!file_) return;
    const std::string text = line.json(elapsedMs()) + "\n";
    std::fwrite(text.data(), 1, text.size(), file_);
    std::fflush(file_);
}

}  // namespace halyard::simclient

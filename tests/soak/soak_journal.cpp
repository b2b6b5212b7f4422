#include "soak/soak_journal.h"

#include "common/json_text.h"
#include "common/text_encoding.h"

namespace soak {
namespace {

bool wholeNumber(const std::wstring& text) {
    if (text.empty() || text.size() > 18) return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (!(iswdigit(text[i]) || (i == 0 && text[i] == L'-' && text.size() > 1))) return false;
    return true;
}

}  // namespace

bool SoakJournal::open(const std::wstring& path) {
    file_ = _wfopen(path.c_str(), L"ab");
    return file_ != nullptr;
}

SoakJournal::~SoakJournal() {
    if (file_) std::fclose(file_);
}

void SoakJournal::write(const char* event, const Fields& fields) {
    std::string line = "{\"t\":" + std::to_string(elapsedMs()) + ",\"event\":" + halyard::jsonQuoted(event);
    for (const auto& [name, value] : fields)
        line += "," + halyard::jsonQuoted(name) + ":" +
                (wholeNumber(value) ? halyard::toUtf8(value) : halyard::jsonQuoted(halyard::toUtf8(value)));
    line += "}\n";
    std::lock_guard<std::mutex> guard(lock_);
    if (!file_) return;
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}

}  // namespace soak

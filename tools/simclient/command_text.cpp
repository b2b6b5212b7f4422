#include "simclient/command_text.h"

#include <cerrno>
#include <cmath>
#include <cwchar>
#include <cwctype>

namespace halyard::simclient {

std::vector<std::wstring> splitCommand(const std::wstring& line) {
    std::vector<std::wstring> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::iswspace(line[i])) ++i;
        if (i >= line.size()) break;
        std::wstring word;
        bool quoted = false;
        while (i < line.size() && (quoted || !std::iswspace(line[i]))) {
            if (line[i] == L'"') {
                quoted = !quoted;
            } else {
                word.push_back(line[i]);
            }
            ++i;
        }
        words.push_back(word);
    }
    return words;
}

std::wstring joinCommand(const std::vector<std::wstring>& words) {
    std::wstring line;
    for (const auto& w : words) {
        if (!line.empty()) line.push_back(L' ');
        bool blank = w.empty();
        for (wchar_t c : w) blank = blank || std::iswspace(c);
        if (blank) {
            line += L"\"" + w + L"\"";
        } else {
            line += w;
        }
    }
    return line;
}

bool parseNumber(const std::wstring& text, double& value) {
    if (text.empty() || std::iswspace(text[0])) return false;
    wchar_t* end = nullptr;
    errno = 0;
    const double v = std::wcstod(text.c_str(), &end);
    if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

bool parseWholeInteger(const std::wstring& text, int64_t& value) {
    if (text.empty() || std::iswspace(text[0])) return false;
    wchar_t* end = nullptr;
    errno = 0;
    const long long v = std::wcstoll(text.c_str(), &end, 10);
    if (errno != 0 || end != text.c_str() + text.size()) return false;
    value = v;
    return true;
}

}  // namespace halyard::simclient

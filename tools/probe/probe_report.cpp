#include "probe/probe_report.h"

#include <cwchar>

#include "common/text_encoding.h"

namespace halyard::probe {

void ProbeReport::heading(const std::wstring& title) {
    if (!lines_.empty()) lines_.emplace_back();
    lines_.push_back(L"== " + title);
}

void ProbeReport::line(const std::wstring& text, int depth) {
    lines_.push_back(std::wstring(static_cast<size_t>(depth) * 2, L' ') + text);
}

std::string ProbeReport::fileBytes() const {
    std::string bytes = "\xEF\xBB\xBF";
    for (const std::wstring& text : lines_) bytes += toUtf8(text) + "\r\n";
    return bytes;
}

std::wstring quoted(const std::wstring& text) {
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        if (c == L'\n') {
            out += L"\\n";
        } else if (c == L'\r') {
            out += L"\\r";
        } else if (c == L'\t') {
            out += L"\\t";
        } else if (c < 0x20 || c == 0x7F) {
            wchar_t code[8];
            std::swprintf(code, 8, L"\\x%02X", static_cast<unsigned>(c));
            out += code;
        } else if (c == L'"' || c == L'\\') {
            out += L'\\';
            out += c;
        } else {
            out += c;
        }
    }
    return out + L"\"";
}

std::wstring joined(const std::vector<std::wstring>& texts, const std::wstring& separator) {
    std::wstring out;
    for (size_t i = 0; i < texts.size(); ++i) out += (i ? separator : L"") + texts[i];
    return out;
}

}  // namespace halyard::probe

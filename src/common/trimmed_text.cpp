#include "common/trimmed_text.h"

namespace halyard {

std::wstring trimmedText(const std::wstring& text) {
    static const wchar_t kBlanks[] = L" \t\r\n\x3000\xA0\xFEFF\x200B";
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::wstring::npos) return std::wstring();
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace halyard

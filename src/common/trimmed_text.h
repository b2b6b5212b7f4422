#pragma once
// Text typed or pasted into a setting, without the blanks and line ends around it (ASCII and
// full-width spaces, no-break and zero-width spaces, a byte-order mark).
#include <string>

namespace halyard {

std::wstring trimmedText(const std::wstring& text);

}  // namespace halyard

#include "common/c_format.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace halyard {
namespace {

std::string vformat(const char* format, va_list args) {
    char small[256];
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (needed < 0) return {};
    if (static_cast<size_t>(needed) < sizeof small) return std::string(small, static_cast<size_t>(needed));
    std::vector<char> large(static_cast<size_t>(needed) + 1);
    std::vsnprintf(large.data(), large.size(), format, args);
    return std::string(large.data(), static_cast<size_t>(needed));
}

}  // namespace

std::string cformat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = vformat(format, args);
    va_end(args);
    return text;
}

std::wstring wcformat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = vformat(format, args);
    va_end(args);
    return widenAscii(text);
}

std::wstring widenAscii(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

}  // namespace halyard

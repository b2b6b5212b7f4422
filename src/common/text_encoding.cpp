#include "common/text_encoding.h"

#include <cstdint>
#include <vector>

namespace halyard {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendCodePoint(std::wstring& out, char32_t cp) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
            return;
        }
    }
    out.push_back(static_cast<wchar_t>(cp));
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Decodes one sequence at bytes[i]; returns its length, or 0 when it is not valid UTF-8.
size_t decodeUtf8At(const std::string& bytes, size_t i, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    size_t len = 0;
    char32_t minimum = 0;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        len = 2, cp = b0 & 0x1F, minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, cp = b0 & 0x0F, minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, cp = b0 & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + len > bytes.size()) return 0;
    for (size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(bytes[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

}  // namespace

std::string toUtf8(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t cp = static_cast<char32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            cp &= 0xFFFF;
            if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size()) {
                const char32_t low = static_cast<char32_t>(text[i + 1]) & 0xFFFF;
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
        }
        if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = kReplacement;
        appendUtf8(out, cp);
    }
    return out;
}

std::wstring fromUtf8(const std::string& bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        char32_t cp = 0;
        const size_t len = decodeUtf8At(bytes, i, cp);
        if (len == 0) {
            appendCodePoint(out, kReplacement);
            ++i;
        } else {
            appendCodePoint(out, cp);
            i += len;
        }
    }
    return out;
}

bool isValidUtf8(const std::string& bytes) {
    for (size_t i = 0; i < bytes.size();) {
        char32_t cp = 0;
        const size_t len = decodeUtf8At(bytes, i, cp);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

std::wstring fromUtf8OrAnsi(const std::string& bytes) {
    return isValidUtf8(bytes) ? fromUtf8(bytes) : fromAnsi(bytes);
}

}  // namespace halyard

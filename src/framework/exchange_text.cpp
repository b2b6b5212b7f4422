#include "framework/exchange_text.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "common/c_format.h"

namespace halyard {
namespace {

bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}
bool isDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// The text between leading and trailing blanks, narrowed; false if anything outside the
// characters of a decimal number remains.
bool trimmedAscii(const std::wstring& text, std::string& out) {
    size_t begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    out.clear();
    for (size_t i = begin; i < end; ++i) {
        wchar_t c = text[i];
        if (!(isDigit(c) || c == L'+' || c == L'-' || c == L'.' || c == L'e' || c == L'E')) return false;
        out.push_back(static_cast<char>(c));
    }
    return !out.empty();
}

size_t skipDigits(const std::string& s, size_t i) {
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
    return i;
}

std::wstring withBounds(const std::wstring& kind, const std::wstring& minimum, const std::wstring& maximum) {
    return L"请输入一个 " + minimum + L" 至 " + maximum + L" 之间的" + kind + L"。";
}

}  // namespace

bool parseExchangeInt(const std::wstring& text, int& value) {
    std::string s;
    if (!trimmedAscii(text, s)) return false;
    size_t i = (s[0] == '+' || s[0] == '-') ? 1 : 0;
    size_t end = skipDigits(s, i);
    if (end == i || end != s.size()) return false;
    errno = 0;
    long long parsed = std::strtoll(s.c_str(), nullptr, 10);
    if (errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX) return false;
    value = static_cast<int>(parsed);
    return true;
}

bool parseExchangeFloat(const std::wstring& text, float& value) {
    std::string s;
    if (!trimmedAscii(text, s)) return false;
    size_t i = (s[0] == '+' || s[0] == '-') ? 1 : 0;
    size_t intEnd = skipDigits(s, i);
    size_t digits = intEnd - i;
    size_t pos = intEnd;
    if (pos < s.size() && s[pos] == '.') {
        size_t fracEnd = skipDigits(s, pos + 1);
        digits += fracEnd - (pos + 1);
        pos = fracEnd;
    }
    if (digits == 0) return false;
    if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E')) {
        size_t expStart = pos + 1;
        if (expStart < s.size() && (s[expStart] == '+' || s[expStart] == '-')) ++expStart;
        size_t expEnd = skipDigits(s, expStart);
        if (expEnd == expStart) return false;
        pos = expEnd;
    }
    if (pos != s.size()) return false;
    double parsed = std::strtod(s.c_str(), nullptr);
    if (!std::isfinite(parsed) || std::fabs(parsed) > FLT_MAX) return false;
    value = static_cast<float>(parsed);
    return true;
}

std::wstring formatExchangeFloat(float value) {
    return wcformat("%.*g", FLT_DIG, static_cast<double>(value));
}

std::wstring notAnIntegerMessage() {
    return L"请输入一个整数。";
}

std::wstring integerRangeMessage(int minimum, int maximum) {
    return withBounds(L"整数", wcformat("%d", minimum), wcformat("%d", maximum));
}

std::wstring notANumberMessage() {
    return L"请输入一个数字。";
}

std::wstring numberRangeMessage(float minimum, float maximum) {
    return withBounds(L"数字", formatExchangeFloat(minimum), formatExchangeFloat(maximum));
}

}  // namespace halyard

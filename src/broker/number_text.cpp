#include "broker/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "common/c_format.h"

namespace {

template <typename Char>
bool isBlank(Char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

template <typename Char>
bool isDigit(Char c) {
    return c >= '0' && c <= '9';
}

template <typename Char>
int32_t parseIntegerText(const std::basic_string<Char>& text) {
    size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // One past the largest magnitude, so that saturation is decided without overflow.
    constexpr int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t magnitude = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit) magnitude = limit;
    }
    if (negative) return static_cast<int32_t>(-magnitude);
    return static_cast<int32_t>(magnitude == limit ? limit - 1 : magnitude);
}

template <typename Char>
float parseDecimalText(const std::basic_string<Char>& text) {
    size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    // The accepted prefix, narrowed, in the form from_chars takes.
    std::string number;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') number.push_back('-');
        ++i;
    }
    size_t digits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i, ++digits) number.push_back(static_cast<char>(text[i]));
    if (i < text.size() && text[i] == '.') {
        number.push_back('.');
        for (++i; i < text.size() && isDigit(text[i]); ++i, ++digits)
            number.push_back(static_cast<char>(text[i]));
    }
    if (digits == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            exponent.push_back(static_cast<char>(text[j++]));
        const size_t first = j;
        for (; j < text.size() && isDigit(text[j]); ++j) exponent.push_back(static_cast<char>(text[j]));
        if (j > first) number += exponent;
    }
    float value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value)) return 0;
    return value;
}

// Decimals of a single-precision price count as shown when the text is within the absolute
// tolerance or within a few units of single precision, whichever is larger: 100.01 held as a
// float is 100.010002, and must still go to the client as "100.01".
bool closeToWhole(double scaled, double absoluteTolerance) {
    const double tolerance = std::max(absoluteTolerance, std::fabs(scaled) * std::ldexp(1.0, -22));
    return std::fabs(scaled - std::round(scaled)) < tolerance;
}

// Blanks of any width a client may pad a cell with: no-break, full-width, the typographic
// spaces and the zero-width ones.
bool isCellBlank(wchar_t c) {
    return isBlank(c) || c == 0x00A0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200B) || c == 0x202F ||
           c == 0x205F || c == 0x3000 || c == 0xFEFF;
}

// The units a number cell may carry after its number; "手" (lots of 100) is not among them: read
// as a plain number it would be a hundredth of the shares.
bool isCellUnit(wchar_t c) {
    return c == L'元' || c == L'股' || c == L'%' || c == 0xFF05;  // FF05: full-width percent
}

// The cell without blanks, separators and unit, when it is one well-formed number.
bool cellNumberText(const std::wstring& text, std::string& number) {
    size_t begin = 0, end = text.size();
    while (begin < end && isCellBlank(text[begin])) ++begin;
    while (end > begin && isCellBlank(text[end - 1])) --end;
    if (end > begin && isCellUnit(text[end - 1])) --end;
    while (end > begin && isCellBlank(text[end - 1])) --end;
    size_t i = begin;
    if (i < end && (text[i] == L'+' || text[i] == L'-')) {
        if (text[i] == L'-') number.push_back('-');
        ++i;
    }
    size_t wholeDigits = 0, groupDigits = 0;
    bool grouped = false;
    for (; i < end && (isDigit(text[i]) || text[i] == L','); ++i) {
        if (text[i] == L',') {
            // A separator needs digits before it and exactly three after the previous one.
            if (wholeDigits == 0 || (grouped && groupDigits != 3)) return false;
            grouped = true;
            groupDigits = 0;
            continue;
        }
        number.push_back(static_cast<char>(text[i]));
        ++wholeDigits;
        ++groupDigits;
    }
    if (grouped && groupDigits != 3) return false;
    size_t fractionDigits = 0;
    if (i < end && text[i] == L'.') {
        number.push_back('.');
        for (++i; i < end && isDigit(text[i]); ++i, ++fractionDigits)
            number.push_back(static_cast<char>(text[i]));
    }
    return i == end && wholeDigits + fractionDigits > 0 && number.size() < 64;
}

}  // namespace

std::optional<float> readCellDecimal(const std::wstring& text) {
    std::string number;
    if (!cellNumberText(text, number)) return std::nullopt;
    float value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<int32_t> readCellInteger(const std::wstring& text) {
    std::string number;
    if (!cellNumberText(text, number)) return std::nullopt;
    const size_t point = number.find('.');
    if (point != std::string::npos) {
        if (number.find_first_not_of('0', point + 1) != std::string::npos) return std::nullopt;
        number.erase(point);
    }
    if (number.empty() || number == "-") return std::nullopt;
    int64_t value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec != std::errc() || value > INT32_MAX || value < INT32_MIN) return std::nullopt;
    return static_cast<int32_t>(value);
}

float parseCellDecimal(const std::wstring& text) {
    return readCellDecimal(text).value_or(0.0f);
}

int32_t parseCellInteger(const std::wstring& text) {
    return readCellInteger(text).value_or(0);
}

int32_t parseInteger(const std::wstring& text) {
    return parseIntegerText(text);
}
int32_t parseInteger(const std::string& text) {
    return parseIntegerText(text);
}
float parseDecimal(const std::wstring& text) {
    return parseDecimalText(text);
}
float parseDecimal(const std::string& text) {
    return parseDecimalText(text);
}

std::wstring formatPrice(double price) {
    if (!std::isfinite(price)) return L"0";
    if (closeToWhole(price, 1e-6)) {
        const double whole = std::round(price);
        if (std::fabs(whole) < 2147483647.0) return halyard::wcformat("%d", static_cast<int>(whole));
        return halyard::wcformat("%.0f", whole);
    }
    static const char* const formats[] = {"%.1f", "%.2f", "%.3f", "%.4f", "%.5f"};
    double scale = 1;
    double tolerance = 1e-6;
    for (const char* format : formats) {
        scale *= 10;
        tolerance *= 10;
        if (closeToWhole(price * scale, tolerance)) return halyard::wcformat(format, price);
    }
    return halyard::wcformat("%f", price);
}

std::wstring formatQuantity(int32_t quantity) {
    return halyard::wcformat("%d", static_cast<int>(quantity));
}

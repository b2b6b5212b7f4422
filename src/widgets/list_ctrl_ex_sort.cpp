#include "widgets/list_ctrl_ex_sort.h"

#include <cmath>
#include <cstdint>
#include <cwchar>

#include "broker/number_text.h"
#include "common/c_format.h"

namespace {

// Half a second in days: dates closer than that are the same moment.
constexpr double kSameMomentDays = 5.787037037037037e-6;

int sign(long long value) {
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

int ordinal(const std::wstring& t1, const std::wstring& t2) {
    return sign(t1.compare(t2));
}

// Case folding of the C locale: ASCII letters only, as the runtime's wcsicmp does there.
wchar_t foldCase(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

int caseInsensitive(const std::wstring& t1, const std::wstring& t2) {
    const size_t common = t1.size() < t2.size() ? t1.size() : t2.size();
    for (size_t i = 0; i < common; ++i) {
        const int a = foldCase(t1[i]), b = foldCase(t2[i]);
        if (a != b) return a < b ? -1 : 1;
    }
    return sign(static_cast<long long>(t1.size()) - static_cast<long long>(t2.size()));
}

double leadingFloat(const std::wstring& text) {
    const double value = std::wcstod(text.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}

// Both texts are plain integers (nothing before or after the digits), non-zero and different.
bool bothPlainIntegers(const std::wstring& t1, const std::wstring& t2, int32_t& v1, int32_t& v2) {
    v1 = parseInteger(t1);
    v2 = parseInteger(t2);
    if (v1 == 0 || v2 == 0 || v1 == v2) return false;
    return halyard::wcformat("%ld", static_cast<long>(v1)).size() == t1.size() &&
           halyard::wcformat("%ld", static_cast<long>(v2)).size() == t2.size();
}

int numericOr(const std::wstring& t1, const std::wstring& t2,
              int (*fallback)(const std::wstring&, const std::wstring&)) {
    int32_t v1 = 0, v2 = 0;
    if (bothPlainIntegers(t1, t2, v1, v2)) return sign(static_cast<long long>(v1) - v2);
    return fallback(t1, t2);
}

int compareDates(const std::wstring& t1, const std::wstring& t2, DateParser parseDate) {
    double d1 = 0, d2 = 0;
    const bool valid = parseDate && parseDate(t1, d1) && parseDate(t2, d2);
    if (valid && std::fabs(d1 - d2) < kSameMomentDays) return 0;
    return valid && d1 < d2 ? -1 : 1;
}

}  // namespace

int compareCellTexts(int sortType, const std::wstring& t1, const std::wstring& t2, DateParser parseDate) {
    switch (sortType) {
        case 0:
            return 0;
        case 1:
            return sign(static_cast<long long>(parseInteger(t1)) - parseInteger(t2));
        case 2: {
            const double difference = leadingFloat(t1) - leadingFloat(t2);
            return std::fabs(difference) < 1.0 ? 0 : (difference < 0 ? -1 : 1);
        }
        case 4:
            return numericOr(t1, t2, ordinal);
        case 5:
            return caseInsensitive(t1, t2);
        case 6:
            return numericOr(t1, t2, caseInsensitive);
        case 7:
            return compareDates(t1, t2, parseDate);
        default:
            return ordinal(t1, t2);
    }
}

int sortDirection(int sortFlags) {
    if (sortFlags & kSortAscending) return 1;
    if (sortFlags & kSortDescending) return -1;
    return 0;
}

int nextSortFlags(int sortFlags, bool toggle) {
    if (!(sortFlags & kSortToggles)) return sortFlags;
    if (!(sortFlags & (kSortAscending | kSortDescending))) sortFlags |= kSortDescending;
    if (!toggle) return sortFlags;
    const bool ascending = sortFlags & kSortAscending, descending = sortFlags & kSortDescending;
    sortFlags &= ~(kSortAscending | kSortDescending);
    if (ascending) sortFlags |= kSortDescending;
    if (descending) sortFlags |= kSortAscending;
    return sortFlags;
}

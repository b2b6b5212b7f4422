// The grid's compare of two cell texts for each sort type.
#include "widgets/list_ctrl_ex_sort.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Dates as "day.fraction" for the compare's logic; the real parser is the system's.
bool plainDays(const std::wstring& text, double& days) {
    wchar_t* end = nullptr;
    days = std::wcstod(text.c_str(), &end);
    return !text.empty() && end && *end == 0;
}

int sign(int value) {
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

TEST(GridSortTest, EachSortTypeComparesTextsItsOwnWay) {
    const struct {
        int type;
        const wchar_t* t1;
        const wchar_t* t2;
        int expected;
    } cases[] = {
        {0, L"b", L"a", 0},          {1, L"10", L"9", 1},
        {1, L" 12abc", L"12", 0},                                            // the leading integer only
        {1, L"x", L"-3", 1},         {1, L"2147483647", L"-2147483648", 1},  // no overflow of the difference
        {2, L"1.9", L"1.1", 0},                                              // differences below 1 are equal
        {2, L"3.5", L"1.2", 1},      {2, L"-0.5", L"2", -1},
        {3, L"10", L"9", -1},                                // ordinal
        {3, L"abc", L"abc", 0},      {9, L"B", L"a", -1},    // unknown types compare ordinally
        {4, L"10", L"9", 1},         {4, L"10x", L"9", -1},  // not a plain integer: ordinal
        {4, L"0", L"9", -1},                                 // zero never counts as a number: ordinal
        {4, L"007", L"8", -1},                               // leading zeros: ordinal
        {4, L"B", L"a", -1},         {5, L"B", L"a", 1},
        {5, L"ABC", L"abc", 0},      {5, L"ab", L"abc", -1},
        {6, L"10", L"9", 1},         {6, L"B", L"a", 1},  // the fallback ignores case
        {6, L"x10", L"X10", 0},      {7, L"2.0", L"1.0", 1},
        {7, L"1.0", L"2.0", -1},     {7, L"1.000001", L"1.000004", 0},  // under half a second apart
        {7, L"1.0", L"1.00001", -1}, {7, L"kein", L"1.0", 1},           // an invalid date always sorts after
        {7, L"1.0", L"kein", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " '" << c.t1 << "' '" << c.t2 << "'");
        EXPECT_EQ(sign(compareCellTexts(c.type, c.t1, c.t2, plainDays)), c.expected);
    }
    EXPECT_EQ(compareCellTexts(7, L"1.0", L"1.0", nullptr), 1);  // no parser: nothing is a date
}

}  // namespace

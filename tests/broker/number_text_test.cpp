// Numbers read from the client's cells and written into its edits.
#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <optional>
#include <string>

#include "broker/number_text.h"
#include "broker/position_cells.h"

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

template <typename T>
struct Case {
    std::wstring text;
    T expected;
};

}  // namespace

TEST(NumberText, IntegersStopAtTheFirstOtherCharacterAndSaturate) {
    const Case<int32_t> cases[] = {{L"", 0},   {L"--5", 0},        {L"2147483648", kMax},
                                   {L"+7", 7}, {L"1,200", 1},      {L"-2147483648", kMin},
                                   {L"١٢", 0}, {L" \t-35 x", -35}, {L"-2147483649", kMin}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseInteger(c.text), c.expected);
    }
    EXPECT_EQ(parseInteger(std::wstring(10000, L'9')), kMax);
    EXPECT_EQ(parseInteger(std::string(30, '0') + "12"), 12);
}

TEST(NumberText, DecimalsReadAsFarAsTheyGoAndWhatIsNotFiniteInAFloatAsZero) {
    const Case<float> cases[] = {
        {L".", 0},      {L"0x1A", 0},   {L"1,234.5", 1},    {L"1.5E-2x", 0.015f},
        {L"2e+", 2},    {L"1e39", 0},   {L"+.25", 0.25f},   {L"3.4e38", 3.4e38f},
        {L"当前价", 0}, {L"1e-60", 0},  {L"-Infinity", 0},  {L"16777217", 16777216.0f},
        {L"nan", 0},    {L"0.1", 0.1f}, {L"  -3.5%", -3.5f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseDecimal(c.text), c.expected);
    }
    EXPECT_EQ(parseDecimal(std::string(400, '9')), 0);
    EXPECT_EQ(parseDecimal(L"0." + std::wstring(10000, L'0') + L"1"), 0);
}

TEST(NumberText, PricesWithTheFewestDecimalsThatShowThem) {
    // Floats held just above or below the decimal the user meant show that decimal.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double price;
        const wchar_t* expected;
    } cases[] = {{12.0, L"12"},         {-0.0, L"0"},         {-2.5, L"-2.5"},  {1.23456, L"1.23456"},
                 {10.35f, L"10.35"},    {100.01f, L"100.01"}, {0.07f, L"0.07"}, {1.234567, L"1.234567"},
                 {12.999999f, L"13"},   {nan, L"0"},          {1e-9, L"0"},     {12.0005, L"12.0005"},
                 {-3e9, L"-3000000000"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(formatPrice(c.price), c.expected);
    }
    EXPECT_EQ(formatPrice(1e12), L"1000000000000");
    // The sell price is the difference of two floats taken in double precision.
    EXPECT_EQ(formatPrice(static_cast<double>(12.35f) - static_cast<double>(0.02f)), L"12.33");
    EXPECT_EQ(formatQuantity(kMin), L"-2147483648");
}

TEST(NumberText, CellsAreReadStrictlyWithSeparatorsUnitsAndBlanksOfAnyWidth) {
    struct CellCase {
        std::wstring text;
        std::optional<float> decimal;
        std::optional<int32_t> integer;
    };
    const std::nullopt_t no = std::nullopt;
    const CellCase cases[] = {{L"1,688.00", 1688.0f, 1688},
                              {L" 12,345,678 ", 12345678.0f, 12345678},
                              {L"-1,200.50", -1200.5f, no},
                              {L"8.88", 8.88f, no},
                              {L"1.2.3", no, no},
                              {L"12,34,567", no, no},
                              {L"", no, no},
                              {L"--", no, no},
                              {L"9.50元", 9.5f, no},
                              {L"1000股", 1000.0f, 1000},
                              {L"1000 股", 1000.0f, 1000},
                              {L"12.5%", 12.5f, no},
                              {L"-3.25％", -3.25f, no},
                              {L"\u00a09.90\u00a0", 9.9f, no},
                              {L"\u3000\u3000500\u3000", 500.0f, 500},
                              {L"\u2002\u200b7.01\ufeff", 7.01f, no},
                              {L"5%%", no, no},
                              {L"10手", no, no},
                              {L"9.5元元", no, no},
                              {L"1e3", no, no},
                              {L"+7", 7.0f, 7},
                              {L"-100", -100.0f, -100},
                              {L"1200.00", 1200.0f, 1200},
                              {L"99999999999", 99999999999.0f, no}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(readCellDecimal(c.text), c.decimal);
        EXPECT_EQ(readCellInteger(c.text), c.integer);
    }
}

// Which cells of a positions row are marked unreadable: only those the configuration maps, and
// a negative quantity too.
TEST(NumberText, PositionRowsMarkTheCellsThatAreNoNumber) {
    const struct {
        const wchar_t* unreadable;
        bool profitMapped;
        PositionCellTexts cells;
    } cases[] = {
        {L"", true, {L"", L"1,000股", L"1000", L"8.50元", L"380", L"4.47%", L"8,880", L"8.88", L"600000"}},
        {L"可卖数量, 当前价",
         false,
         {L"", L"1000", L"-100", L"8.50", L"", L"4.47", L"8880", L"--", L"600000"}},
        {L"数量, 盈亏", true, {L"", L"abc", L"1000", L"8.50", L"", L"4.47", L"8880", L"8.88", L"600000"}}};
    for (const auto& c : cases) {
        std::array<bool, kPositionCellCount> configured;
        configured.fill(true);
        configured[kProfitText] = c.profitMapped;
        const PositionRow row = positionRowFromCells(c.cells, configured);
        EXPECT_EQ(unreadableCellNames(row.unreadableCells), c.unreadable) << c.cells[kQuantityText];
        EXPECT_GE(row.sellableQuantity, 0);
    }
}

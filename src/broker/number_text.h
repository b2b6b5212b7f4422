#pragma once
// Numbers as the broker client's cells and edits show them, and as the rule file stores them.
#include <cstdint>
#include <optional>
#include <string>

// Leading white space, optional sign, decimal digits; stops at the first other character.
// No digits gives 0; values beyond the 32-bit range saturate.
int32_t parseInteger(const std::wstring& text);
int32_t parseInteger(const std::string& text);

// Leading white space, optional sign, digits with "." and an optional exponent; stops at the
// first other character. No number, and anything not finite in single precision, gives 0.
float parseDecimal(const std::wstring& text);
float parseDecimal(const std::string& text);

// A number cell of the client's lists: blanks of any width around it (no-break, full-width),
// an optional sign, digits with "," between groups of the whole part, one "." and decimals, and
// at most one unit after the number ("元", "股", "%"). Anything else ("1.2.3", "--", letters,
// empty) is unreadable: nothing.
std::optional<float> readCellDecimal(const std::wstring& text);
// As above for quantities; a value with a fraction other than zeros is unreadable too.
std::optional<int32_t> readCellInteger(const std::wstring& text);
// The same with an unreadable cell as 0.
float parseCellDecimal(const std::wstring& text);
int32_t parseCellInteger(const std::wstring& text);

// The fewest decimals (0 to 5, else six) that show the price.
std::wstring formatPrice(double price);
std::wstring formatQuantity(int32_t quantity);

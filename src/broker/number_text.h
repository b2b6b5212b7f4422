#pragma once
// Numbers as the broker client's cells and edits show them, and as the rule file stores them.
#include <cstdint>
#include <string>

// Leading white space, optional sign, decimal digits; stops at the first other character.
// No digits gives 0; values beyond the 32-bit range saturate.
int32_t parseInteger(const std::wstring& text);
int32_t parseInteger(const std::string& text);

// Leading white space, optional sign, digits with "." and an optional exponent; stops at the
// first other character. No number, and anything not finite in single precision, gives 0.
float parseDecimal(const std::wstring& text);
float parseDecimal(const std::string& text);

// A number cell of the client's lists, read strictly: blanks around it, an optional sign,
// digits with "," between groups of the whole part, one "." and decimals; in a percent column
// one trailing "%" too. Anything else (letters, "1.2.3", "--", empty) is unreadable: 0.
float parseCellDecimal(const std::wstring& text, bool percentColumn = false);
// As above for quantities; a value with a fraction other than zeros is unreadable too.
int32_t parseCellInteger(const std::wstring& text);

// The fewest decimals (0 to 5, else six) that show the price.
std::wstring formatPrice(double price);
std::wstring formatQuantity(int32_t quantity);

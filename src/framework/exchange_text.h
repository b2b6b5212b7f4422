#pragma once
// How data exchange reads and shows numbers, and its validation messages. Portable, so the
// parsing rules are tested in every build.
#include <string>

namespace halyard {

// A whole integer, optionally signed and surrounded by blanks; false for anything else,
// including an empty text and values outside 32 bits.
bool parseExchangeInt(const std::wstring& text, int& value);
// A decimal number (digits, optional point and exponent), optionally signed and surrounded by
// blanks, within the range of a 32-bit float. Hexadecimal, "inf" and "nan" are not numbers.
bool parseExchangeFloat(const std::wstring& text, float& value);
// Up to six significant digits: 5 shows as "5", 2.5 as "2.5", 0.2 as "0.2".
std::wstring formatExchangeFloat(float value);

std::wstring notAnIntegerMessage();                          // "请输入一个整数。"
std::wstring integerRangeMessage(int minimum, int maximum);  // "请输入一个 3 至 60 之间的整数。"
std::wstring notANumberMessage();                            // "请输入一个数字。"
std::wstring numberRangeMessage(float minimum, float maximum);  // "请输入一个 0.2 至 5000 之间的数字。"

}  // namespace halyard

#pragma once
// Conversions between the program's wide strings and the byte encodings of its files.
// wchar_t is UTF-16 on Windows and UTF-32 elsewhere; both are handled.
#include <string>

namespace halyard {

std::string toUtf8(const std::wstring& text);
// Invalid sequences become U+FFFD.
std::wstring fromUtf8(const std::string& bytes);
bool isValidUtf8(const std::string& bytes);
// The system's ANSI code page on Windows; Latin-1 elsewhere (only older files need it).
std::wstring fromAnsi(const std::string& bytes);
// UTF-8 when valid, otherwise the ANSI code page.
std::wstring fromUtf8OrAnsi(const std::string& bytes);

}  // namespace halyard

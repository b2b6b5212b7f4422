#pragma once
// printf-style formatting into the program's strings. The files and the list cells are
// specified by C format strings ("%f", "%.2f", "%d"), so the C library formats them.
#include <string>

namespace halyard {

std::string cformat(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The same, widened; for formats whose output is ASCII (numbers).
std::wstring wcformat(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::wstring widenAscii(const std::string& text);

}  // namespace halyard

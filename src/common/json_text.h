#pragma once

#include <string>

namespace halyard {

// A JSON string literal, quotes included, of UTF-8 text: quotes, backslashes and control
// characters escaped, everything else passed through as it is.
std::string jsonQuoted(const std::string& utf8);

}  // namespace halyard

#pragma once
// Words of a control command: blank-separated, double quotes group words with blanks.
#include <cstdint>
#include <string>
#include <vector>

namespace halyard::simclient {

std::vector<std::wstring> splitCommand(const std::wstring& line);
// The inverse: quotes the words that hold blanks or are empty.
std::wstring joinCommand(const std::vector<std::wstring>& words);

// Whole-text numbers; false on anything else.
bool parseNumber(const std::wstring& text, double& value);
bool parseWholeInteger(const std::wstring& text, int64_t& value);

}  // namespace halyard::simclient

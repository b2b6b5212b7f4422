#pragma once
#include <string>

namespace halyard {

// Drive and folder of the running executable, ending in a backslash.
std::wstring moduleDirectory();

}  // namespace halyard

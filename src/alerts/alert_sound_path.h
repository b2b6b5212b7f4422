#pragma once
#include <string>

// The file a sound name plays: a name without a backslash is taken from the "OrderSound"
// folder beside the executable (`moduleDirectory` ends with a backslash); any other name is
// used as it is.
std::wstring alertSoundPath(const std::wstring& file, const std::wstring& moduleDirectory);

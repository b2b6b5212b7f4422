#pragma once
// Command line of the messenger stand-ins: "--name value" pairs.
#include <map>
#include <string>

namespace halyard::simmessengers {

// Every "--name value" pair of the program's command line.
std::map<std::wstring, std::wstring> commandLineOptions();
std::wstring option(const std::map<std::wstring, std::wstring>& options, const std::wstring& name,
                    const std::wstring& fallback);

}  // namespace halyard::simmessengers

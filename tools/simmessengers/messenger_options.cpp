#include "simmessengers/messenger_options.h"

#include <windows.h>

#include <shellapi.h>

namespace halyard::simmessengers {

std::map<std::wstring, std::wstring> commandLineOptions() {
    std::map<std::wstring, std::wstring> options;
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!args) return options;
    for (int i = 1; i + 1 < count; i += 2) options[args[i]] = args[i + 1];
    LocalFree(args);
    return options;
}

std::wstring option(const std::map<std::wstring, std::wstring>& options, const std::wstring& name,
                    const std::wstring& fallback) {
    auto found = options.find(name);
    return found == options.end() ? fallback : found->second;
}

}  // namespace halyard::simmessengers

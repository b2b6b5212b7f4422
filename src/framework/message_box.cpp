#include "framework/message_box.h"

#include <vector>

namespace halyard {

std::wstring applicationName() {
    std::vector<wchar_t> path(MAX_PATH);
    DWORD length = 0;
    while (true) {
        length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return L"Halyard";
        if (length < path.size()) break;
        path.resize(path.size() * 2);
    }
    std::wstring name(path.data(), length);
    size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos && dot > 0) name.erase(dot);
    return name;
}

int showMessageBox(HWND owner, const std::wstring& text, UINT type) {
    return MessageBoxW(owner, text.c_str(), applicationName().c_str(), type);
}

}  // namespace halyard

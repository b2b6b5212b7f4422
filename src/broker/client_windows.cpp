#include "broker/client_windows.h"

#include "broker/remote_memory.h"
#include "broker/result_codes.h"
#include "broker/window_toolkit.h"

namespace {

struct TitleMatches {
    const wchar_t* text;
    std::vector<HWND> found;
};

BOOL CALLBACK collectTitleMatch(HWND window, LPARAM param) {
    auto* walk = reinterpret_cast<TitleMatches*>(param);
    if (windowText(window).find(walk->text) != std::wstring::npos) walk->found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> findTopWindowsByTitle(const wchar_t* text) {
    TitleMatches walk{text ? text : L"", {}};
    EnumWindows(collectTitleMatch, reinterpret_cast<LPARAM>(&walk));
    return walk.found;
}

HWND clientToolbarOf(HWND main) {
    if (!main) return nullptr;
    const std::vector<HWND> toolbars = findDescendants(main, L"MHPToolBar", L"MainViewBar");
    return toolbars.empty() ? nullptr : toolbars.front();
}

HWND findClientWindowByTitle(const wchar_t* text) {
    const std::vector<HWND> candidates = findTopWindowsByTitle(text);
    for (HWND candidate : candidates)
        if (clientToolbarOf(candidate)) return candidate;
    return candidates.empty() ? nullptr : candidates.front();
}

bool clientRefusesAccess(HWND main) {
    if (!ClientProcess(main)) return true;
    DWORD_PTR ignored = 0;
    SetLastError(ERROR_SUCCESS);
    if (SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kClientMessageTimeoutMs, &ignored))
        return false;
    return GetLastError() == ERROR_ACCESS_DENIED;
}

int clientOutOfReach(HWND main) {
    if (clientRefusesAccess(main)) return kClientElevated;
    return ClientProcess(main).tooWide() ? kClientTooWide : 0;
}

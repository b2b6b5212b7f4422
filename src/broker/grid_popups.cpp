#include "broker/grid_popups.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "broker/window_toolkit.h"

namespace {

constexpr DWORD kPollMs = 30;

struct PopupSearch {
    DWORD processId;
    const wchar_t* title;
    bool wantCaptcha;
    HWND found;
};

BOOL CALLBACK findPopupStep(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<PopupSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
    if (windowText(window).find(search->title) == std::wstring::npos) return TRUE;
    if (isCaptchaWindow(window) != search->wantCaptcha) return TRUE;
    search->found = window;
    return FALSE;
}

HWND findPopup(DWORD processId, const wchar_t* title, bool captcha) {
    PopupSearch search{processId, title, captcha, nullptr};
    if (processId) EnumWindows(findPopupStep, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The first of the titles to show; a refused order skips its confirmation and shows the notice.
HWND waitForPopup(DWORD processId, std::initializer_list<const wchar_t*> titles, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        for (const wchar_t* title : titles)
            if (HWND found = findPopup(processId, title, false)) return found;
        if (GetTickCount() - start >= timeoutMs) return nullptr;
        Sleep(kPollMs);
    }
}

// "是(&Y)" and "是(Y)" are the same button.
HWND buttonCaptioned(HWND popup, const wchar_t* caption) {
    for (HWND button : findDescendants(popup, L"Button")) {
        std::wstring text = windowText(button);
        text.erase(std::remove(text.begin(), text.end(), L'&'), text.end());
        if (text == caption) return button;
    }
    return nullptr;
}

std::optional<std::wstring> confirmThenRead(DWORD processId, const wchar_t* title, DWORD timeoutMs) {
    HWND first = waitForPopup(processId, {title, L"提示"}, timeoutMs);
    if (!first) return std::nullopt;
    if (windowText(first).find(title) != std::wstring::npos &&
        !answerPopup(processId, title, L"是(Y)", timeoutMs))
        return std::nullopt;
    return readAndCloseNotice(processId, timeoutMs);
}

}  // namespace

bool isCaptchaWindow(HWND window) {
    if (windowText(window).find(L"提示") == std::wstring::npos) return false;
    if (popupText(window).find(L"验证码") != std::wstring::npos) return true;
    return !findDescendants(window, L"Edit").empty();
}

HWND findCaptcha(DWORD processId) {
    return findPopup(processId, L"提示", true);
}

std::wstring popupText(HWND window) {
    std::wstring text;
    for (HWND child : findDescendants(window, L"Static")) {
        std::wstring part = windowText(child);
        for (wchar_t& c : part)
            if (c == L'\r' || c == L'\n') c = L' ';
        if (part.empty()) continue;
        if (!text.empty()) text += L' ';
        text += part;
    }
    return text;
}

std::optional<std::wstring> answerPopup(DWORD processId, const wchar_t* title, const wchar_t* button,
                                        DWORD timeoutMs) {
    HWND popup = waitForPopup(processId, {title}, timeoutMs);
    HWND pressed = popup ? buttonCaptioned(popup, button) : nullptr;
    if (!pressed) return std::nullopt;
    const std::wstring text = popupText(popup);
    if (pressButtonStages(pressed) == ButtonPress::NotReached) return std::nullopt;
    return text;
}

std::optional<std::wstring> readAndCloseNotice(DWORD processId, DWORD timeoutMs) {
    HWND notice = waitForPopup(processId, {L"提示"}, timeoutMs);
    if (!notice) return std::nullopt;
    const std::wstring text = popupText(notice);
    // A notice has a single button, 确定 in this family.
    std::vector<HWND> buttons = findDescendants(notice, L"Button");
    if (!buttons.empty()) pressButtonStages(buttons.front());
    return text;
}

std::optional<std::wstring> confirmOrder(DWORD processId, DWORD timeoutMs) {
    return confirmThenRead(processId, L"委托确认", timeoutMs);
}

std::optional<std::wstring> confirmCancel(DWORD processId, DWORD timeoutMs) {
    return confirmThenRead(processId, L"撤单确认", timeoutMs);
}

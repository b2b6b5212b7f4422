#include "broker/grid_popups.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "broker/client_popups.h"
#include "broker/window_toolkit.h"

namespace {

constexpr DWORD kPollMs = 30;

bool isNoCaptcha(HWND window) {
    return !isCaptchaWindow(window);
}

// Which pop-ups a wait takes: by title, and by what they hold (never a captcha unless asked for).
struct PopupKind {
    const wchar_t* title;
    bool (*accepts)(HWND) = isNoCaptcha;
};

struct PopupSearch {
    DWORD processId;
    PopupKind kind;
    HWND found;
};

BOOL CALLBACK findPopupStep(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<PopupSearch*>(param);
    if (!isPopupOf(window, search->processId, search->kind.title) || !search->kind.accepts(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND findPopup(DWORD processId, PopupKind kind) {
    PopupSearch search{processId, kind, nullptr};
    if (processId) EnumWindows(findPopupStep, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The first of the kinds to show; a refused order skips its confirmation and shows the notice.
HWND waitForAny(DWORD processId, std::initializer_list<PopupKind> kinds, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        for (const PopupKind& kind : kinds)
            if (HWND found = findPopup(processId, kind)) return found;
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

bool tellsOfOrder(HWND notice) {
    if (isCaptchaWindow(notice)) return false;
    const ClientPopupKind kind = readClientPopup(windowText(notice), popupText(notice)).kind;
    return kind == ClientPopupKind::OrderSubmitted || kind == ClientPopupKind::OrderRefused;
}

// Every notice of a cancel speaks of it: 撤单已提交, 已撤销, 不允许撤单.
bool tellsOfCancel(HWND notice) {
    return !isCaptchaWindow(notice) && popupText(notice).find(L"撤") != std::wstring::npos;
}

const PopupKind kOrderNotice{L"提示", tellsOfOrder};
const PopupKind kCancelNotice{L"提示", tellsOfCancel};

std::wstring readAndClose(HWND notice) {
    const std::wstring text = popupText(notice);
    // A notice has a single button, 确定 in this family.
    std::vector<HWND> buttons = findDescendants(notice, L"Button");
    if (!buttons.empty()) pressButtonStages(buttons.front());
    return text;
}

// After 是(Y) on the confirmation: the order's notice, or the confirmation if it stayed open.
OrderAnswer afterConfirmation(DWORD processId, HWND confirmation, DWORD timeoutMs) {
    OrderAnswer answer;
    if (HWND notice = waitForAny(processId, {kOrderNotice}, timeoutMs))
        answer.notice = readAndClose(notice);
    else if (IsWindowVisible(confirmation))
        answer.confirmation = confirmation;
    return answer;
}

bool pressYes(HWND confirmation) {
    HWND yes = buttonCaptioned(confirmation, L"是(Y)");
    return yes && pressButtonStages(yes) != ButtonPress::NotReached;
}

}  // namespace

bool isPopupOf(HWND window, DWORD processId, const wchar_t* title) {
    DWORD owner = 0;
    if (!window || !IsWindowVisible(window) || !GetWindowThreadProcessId(window, &owner)) return false;
    return owner == processId && windowText(window).find(title) != std::wstring::npos;
}

bool isCaptchaWindow(HWND window) {
    if (windowText(window).find(L"提示") == std::wstring::npos) return false;
    if (popupText(window).find(L"验证码") != std::wstring::npos) return true;
    return !findDescendants(window, L"Edit").empty();
}

HWND findCaptcha(DWORD processId) {
    return findPopup(processId, PopupKind{L"提示", isCaptchaWindow});
}

HWND waitForPopup(DWORD processId, const wchar_t* title, DWORD timeoutMs) {
    return waitForAny(processId, {PopupKind{title}}, timeoutMs);
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
    HWND popup = waitForPopup(processId, title, timeoutMs);
    HWND pressed = popup ? buttonCaptioned(popup, button) : nullptr;
    if (!pressed) return std::nullopt;
    const std::wstring text = popupText(popup);
    if (pressButtonStages(pressed) == ButtonPress::NotReached) return std::nullopt;
    return text;
}

std::optional<std::wstring> readCancelNotice(DWORD processId, DWORD timeoutMs) {
    HWND notice = waitForAny(processId, {kCancelNotice}, timeoutMs);
    if (!notice) return std::nullopt;
    return readAndClose(notice);
}

OrderAnswer confirmOrder(DWORD processId, DWORD timeoutMs) {
    HWND first = waitForAny(processId, {PopupKind{L"委托确认"}, kOrderNotice}, timeoutMs);
    if (!first) return {};
    if (windowText(first).find(L"委托确认") == std::wstring::npos) return {readAndClose(first), nullptr};
    return confirmAgain(processId, first, timeoutMs);
}

OrderAnswer confirmAgain(DWORD processId, HWND confirmation, DWORD timeoutMs) {
    if (!pressYes(confirmation))
        return {std::nullopt, IsWindowVisible(confirmation) ? confirmation : nullptr};
    return afterConfirmation(processId, confirmation, timeoutMs);
}

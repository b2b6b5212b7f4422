#include "broker/window_toolkit.h"

namespace {

constexpr int kWaitRetries = 10;
constexpr DWORD kWaitStepMs = 20;
constexpr int kEditTextLimit = 512;
constexpr int kClassNameLength = 513;

struct TitleWalk {
    const wchar_t* text;
    HWND found = nullptr;
};

BOOL CALLBACK titleWalkStep(HWND window, LPARAM param) {
    auto* walk = reinterpret_cast<TitleWalk*>(param);
    if (windowText(window).find(walk->text) == std::wstring::npos) return TRUE;
    walk->found = window;
    return FALSE;
}

struct DescendantWalk {
    const wchar_t* className;
    const wchar_t* text;
    std::vector<HWND> found;
};

BOOL CALLBACK descendantWalkStep(HWND window, LPARAM param) {
    auto* walk = reinterpret_cast<DescendantWalk*>(param);
    wchar_t className[kClassNameLength] = {};
    GetClassNameW(window, className, kClassNameLength);
    if (wcscmp(className, walk->className) != 0) return TRUE;
    if (walk->text && windowText(window) != walk->text) return TRUE;
    walk->found.push_back(window);
    return TRUE;
}

}  // namespace

std::optional<LRESULT> sendToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!window) return std::nullopt;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kClientMessageTimeoutMs,
                             &result))
        return std::nullopt;
    return static_cast<LRESULT>(result);
}

bool setWindowTextOf(HWND window, const std::wstring& text) {
    return sendToWindow(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())).has_value();
}

std::optional<std::wstring> getTextByMessage(HWND window) {
    wchar_t buffer[kEditTextLimit + 1] = {};
    if (!sendToWindow(window, WM_GETTEXT, kEditTextLimit, reinterpret_cast<LPARAM>(buffer)))
        return std::nullopt;
    buffer[kEditTextLimit] = L'\0';
    return std::wstring(buffer);
}

HWND findTopWindowByTitle(const wchar_t* text) {
    TitleWalk walk{text ? text : L""};
    EnumWindows(titleWalkStep, reinterpret_cast<LPARAM>(&walk));
    return walk.found;
}

std::vector<HWND> findDescendants(HWND parent, const wchar_t* className, const wchar_t* text) {
    DescendantWalk walk{className ? className : L"", text, {}};
    if (parent) EnumChildWindows(parent, descendantWalkStep, reinterpret_cast<LPARAM>(&walk));
    return std::move(walk.found);
}

// InternalGetWindowText reads the stored caption: GetWindowText would send WM_GETTEXT to
// windows of this process, which blocks while their thread is busy.
std::wstring windowText(HWND window) {
    std::wstring text(256, L'\0');
    for (;;) {
        int length = InternalGetWindowText(window, text.data(), static_cast<int>(text.size()));
        if (length <= 0) return std::wstring();
        if (static_cast<size_t>(length) + 1 < text.size() || text.size() >= 32768) {
            text.resize(static_cast<size_t>(length));
            return text;
        }
        text.assign(text.size() * 2, L'\0');
    }
}

HWND grandparent(HWND window) {
    HWND parent = window ? GetParent(window) : nullptr;
    return parent ? GetParent(parent) : nullptr;
}

HWND visibleDialogChild(HWND parent) {
    HWND last = nullptr;
    for (HWND dialog : findDescendants(parent, L"#32770")) {
        if (GetParent(dialog) != parent) continue;
        if (GetWindowLongW(dialog, GWL_STYLE) & WS_VISIBLE) last = dialog;
    }
    return last;
}

bool hasButtonWithCaption(HWND window, const wchar_t* caption) {
    for (HWND button : findDescendants(window, L"Button"))
        if (windowText(button) == caption) return true;
    return false;
}

ButtonPress pressButtonStages(HWND button) {
    const LPARAM point = MAKELPARAM(5, 0);
    const WPARAM keys = MK_LBUTTON | MK_SHIFT;
    if (!sendToWindow(button, BM_SETSTATE, 0, 0) || !sendToWindow(button, WM_LBUTTONDOWN, keys, point))
        return ButtonPress::NotReached;
    // The thread that just answered the button-down is not hung, so the button-up reaches it;
    // an unanswered one is still being handled (the click runs there).
    if (!sendToWindow(button, WM_LBUTTONUP, keys, point) || !sendToWindow(button, BM_SETSTATE, 1, 0) ||
        !sendToWindow(button, BM_SETSTATE, 0, 0))
        return ButtonPress::ReleaseUnanswered;
    return ButtonPress::Pressed;
}

bool pressButton(HWND button) {
    return pressButtonStages(button) == ButtonPress::Pressed;
}

bool pressButtonTwice(HWND button) {
    return pressButton(button) && pressButton(button);
}

bool waitForText(HWND edit) {
    for (int attempt = 0;; ++attempt) {
        std::optional<std::wstring> text = getTextByMessage(edit);
        if (!text) return false;
        if (!text->empty() || attempt == kWaitRetries) return true;
        Sleep(kWaitStepMs);
    }
}

#pragma once
// The grid family's pop-ups: the copy captcha, which is the investor's and is only ever
// recognised, and the order pop-ups Halyard answers after its own press ("委托确认",
// "撤单确认", then the "提示" that tells how it went, among the other notices the client shows).
#include <windows.h>

#include <optional>
#include <string>

// A "提示" that asks for a code: it holds an edit, or its text asks for a 验证码.
bool isCaptchaWindow(HWND window);
// The visible captcha of that process; null when none is open.
HWND findCaptcha(DWORD processId);

// A visible top-level window of that process whose title contains `title`: a handle that went,
// or was reused by another program, is none.
bool isPopupOf(HWND window, DWORD processId, const wchar_t* title);
// The first visible pop-up of the process whose title contains `title` (never a captcha) to show
// within `timeoutMs`; null when none came.
HWND waitForPopup(DWORD processId, const wchar_t* title, DWORD timeoutMs);

// Waits up to `timeoutMs` for a visible pop-up of the process whose title contains `title` (a
// captcha never counts), presses its button captioned `button` and gives back the pop-up's text.
// Nothing when no such pop-up came, it has no such button, or the press went unanswered.
std::optional<std::wstring> answerPopup(DWORD processId, const wchar_t* title, const wchar_t* button,
                                        DWORD timeoutMs);
// The "提示" that tells how a cancel went: its text, read before it is closed with its button.
std::optional<std::wstring> readCancelNotice(DWORD processId, DWORD timeoutMs);
struct OrderAnswer {
    // The "提示" that tells how the order went (a contract number or a refusal), read and closed.
    std::optional<std::wstring> notice;
    // The "委托确认" still open after its 是(Y) was pressed: the order is not placed yet.
    HWND confirmation = nullptr;
};
// After Halyard's own press: its "委托确认" answered 是(Y), then the notice that tells of the order
// (a refused order skips the confirmation and shows only the notice). Other notices the client
// shows meanwhile (market notices) are never taken for the answer.
OrderAnswer confirmOrder(DWORD processId, DWORD timeoutMs);
// The confirmation of Halyard's own order that stayed open, pressed 是(Y) again.
OrderAnswer confirmAgain(DWORD processId, HWND confirmation, DWORD timeoutMs);

// The texts of a window's non-button children, joined by blanks.
std::wstring popupText(HWND window);

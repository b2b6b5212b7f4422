#pragma once
// The grid family's pop-ups: the copy captcha, which is the investor's and is only ever
// recognised, and the order pop-ups Halyard answers after its own press ("委托确认",
// "撤单确认", then the "提示" that tells how it went).
#include <windows.h>

#include <optional>
#include <string>

// A "提示" that asks for a code: it holds an edit, or its text asks for a 验证码.
bool isCaptchaWindow(HWND window);
// The visible captcha of that process; null when none is open.
HWND findCaptcha(DWORD processId);

// Waits up to `timeoutMs` for a visible pop-up of the process whose title contains `title` (a
// captcha never counts), presses its button captioned `button` and gives back the pop-up's text.
// Nothing when no such pop-up came, it has no such button, or the press went unanswered.
std::optional<std::wstring> answerPopup(DWORD processId, const wchar_t* title, const wchar_t* button,
                                        DWORD timeoutMs);
// The "提示" after an order or cancel: its text, read before it is closed with its button.
std::optional<std::wstring> readAndCloseNotice(DWORD processId, DWORD timeoutMs);
// After Halyard's own press: its "委托确认" answered 是(Y), then the notice's text (a refused order
// skips the confirmation and shows only the notice). Nothing when neither came.
std::optional<std::wstring> confirmOrder(DWORD processId, DWORD timeoutMs);
std::optional<std::wstring> confirmCancel(DWORD processId, DWORD timeoutMs);

// The texts of a window's non-button children, joined by blanks.
std::wstring popupText(HWND window);

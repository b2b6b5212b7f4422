#pragma once
// Finding, reading and pressing the windows of other processes (the broker client, the
// messengers). Every message sent to such a window is bounded: a hung program never holds the
// caller for longer than kClientMessageTimeoutMs per message.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

constexpr UINT kClientMessageTimeoutMs = 5000;

// SendMessageTimeout with SMTO_ABORTIFHUNG; empty when the window did not answer in time
// (or is gone).
std::optional<LRESULT> sendToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// WM_SETTEXT; false when the window did not answer.
bool setWindowTextOf(HWND window, const std::wstring& text);
// WM_GETTEXT of at most 512 characters; empty when the window did not answer.
std::optional<std::wstring> getTextByMessage(HWND window);

// First top-level window (hidden ones too, EnumWindows order) whose title contains `text`.
HWND findTopWindowByTitle(const wchar_t* text);
// Every descendant of `parent` of exactly that class and, when `text` is given, exactly that text.
std::vector<HWND> findDescendants(HWND parent, const wchar_t* className, const wchar_t* text = nullptr);
// The caption as the window manager holds it; never waits for the window's thread.
std::wstring windowText(HWND window);
HWND grandparent(HWND window);
// True when a "Button" descendant of `window` has exactly that caption.
bool hasButtonWithCaption(HWND window, const wchar_t* caption);
// The last visible "#32770" window among the direct children of `parent`.
HWND visibleDialogChild(HWND parent);

// Press and release as a user would; false when the button stopped answering part-way.
bool pressButton(HWND button);
// How far a press got: NotReached when the state change or the button-down went unanswered
// (nothing was clicked), ReleaseUnanswered when the button-up or what follows did.
enum class ButtonPress { Pressed, NotReached, ReleaseUnanswered };
ButtonPress pressButtonStages(HWND button);
bool pressButtonTwice(HWND button);
// Waits up to about 200 ms for the edit to hold text; false when the edit did not answer.
bool waitForText(HWND edit);

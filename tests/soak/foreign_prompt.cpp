#include "soak/foreign_prompt.h"

#include <windows.h>

#include "soak/soak_journal.h"

namespace soak {
namespace {

constexpr UINT_PTR kExpiryTimer = 1;

struct PromptState {
    SoakJournal* journal = nullptr;
    bool expired = false;
};

INT_PTR CALLBACK promptProcedure(HWND window, UINT message, WPARAM wParam, LPARAM) {
    auto* state = reinterpret_cast<PromptState*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!state) return FALSE;
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED) return FALSE;
            state->journal->write("prompt_pressed", {{"button", LOWORD(wParam) == IDOK ? L"确认" : L"取消"}});
            DestroyWindow(window);
            return TRUE;
        case WM_CLOSE:
            if (!state->expired) state->journal->write("prompt_pressed", {{"button", L"关闭"}});
            DestroyWindow(window);
            return TRUE;
        case WM_TIMER:
            state->expired = true;
            state->journal->write("prompt_expired");
            DestroyWindow(window);
            return TRUE;
        case WM_DESTROY:
            PostQuitMessage(0);
            return TRUE;
        default:
            return FALSE;
    }
}

HWND addChild(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, RECT r, int id) {
    return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right,
                           r.bottom, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

int runForeignPrompt(unsigned ms, const std::wstring& journalPath) {
    SoakJournal journal;
    if (!journal.open(journalPath)) return 1;
    PromptState state{&journal};
    // A window of the dialog class, as every message box is.
    HWND prompt =
        CreateWindowExW(WS_EX_TOPMOST, L"#32770", L"提示", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                        400, 300, 320, 160, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!prompt) return 1;
    SetWindowLongPtrW(prompt, DWLP_USER, reinterpret_cast<LONG_PTR>(&state));
    SetWindowLongPtrW(prompt, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(promptProcedure));
    addChild(prompt, L"Static", L"同步完成, 是否立即重启本程序?", SS_LEFT, RECT{20, 20, 270, 40}, -1);
    addChild(prompt, L"Button", L"确认", WS_TABSTOP | BS_DEFPUSHBUTTON, RECT{110, 80, 80, 26}, IDOK);
    addChild(prompt, L"Button", L"取消", WS_TABSTOP, RECT{200, 80, 80, 26}, IDCANCEL);
    SetTimer(prompt, kExpiryTimer, ms, nullptr);
    journal.write("prompt_shown", {{"pid", std::to_wstring(GetCurrentProcessId())}});
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(prompt, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace soak

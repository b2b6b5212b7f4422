#include "simclient/window_helpers.h"

#include <vector>

namespace halyard::simclient {

HWND addControl(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int x, int y,
                int width, int height, int id, HFONT font, DWORD exStyle) {
    HWND control = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width,
                                   height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (control && font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

HWND createDialogWindow(HWND parent, DWORD style, DWORD exStyle, DLGPROC procedure, LPARAM param) {
    // DLGTEMPLATE followed by empty menu, class and title arrays, WORD aligned.
    alignas(4) WORD buffer[32] = {};
    auto* tmpl = reinterpret_cast<DLGTEMPLATE*>(buffer);
    tmpl->style = style;
    tmpl->dwExtendedStyle = exStyle;
    tmpl->cdit = 0;
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), tmpl, parent, procedure, param);
}

}  // namespace halyard::simclient

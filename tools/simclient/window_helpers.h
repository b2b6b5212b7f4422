#pragma once
// Small Win32 helpers of the client's own windows.
#include <windows.h>

#include <string>

namespace halyard::simclient {

// A child control with the client's font.
HWND addControl(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int x, int y,
                int width, int height, int id, HFONT font, DWORD exStyle = 0);

// A dialog window ("#32770") made from an empty in-memory template; its controls are added in
// WM_INITDIALOG. `param` reaches WM_INITDIALOG as lParam.
HWND createDialogWindow(HWND parent, DWORD style, DWORD exStyle, DLGPROC procedure, LPARAM param);

}  // namespace halyard::simclient

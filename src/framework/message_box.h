#pragma once
// Message boxes of the program, captioned with the application's name.
#include <windows.h>

#include <string>

namespace halyard {

// The executable's file name without folder and extension ("Halyard" for Halyard.exe).
std::wstring applicationName();

// MessageBoxW with the application's name as caption; answers IDOK, IDCANCEL, ...
int showMessageBox(HWND owner, const std::wstring& text, UINT type = MB_OK);

}  // namespace halyard

#pragma once
// The text of a window as GetWindowText gives it: a window of this process is asked for it
// (WM_GETTEXT, so an edit gives its content and the call waits for the window's thread); a
// window of another process gives its stored caption. For the program's own dialogs and
// controls; the broker client's windows are read with windowText (broker/window_toolkit.h),
// which never waits.
#include <windows.h>

#include <string>

namespace halyard {

// Empty for a null or vanished window.
std::wstring controlText(HWND window);

}  // namespace halyard

#pragma once
// A picture of the whole screen, taken inside this process. Starting a capture program would
// change the foreground under Wine and take the program's pop-ups off the screen before the shot.
#include <windows.h>

#include <string>

namespace e2e {

// Writes the screen (or the part of it inside `area`) as a 24-bit BMP file; false when the screen
// cannot be read or the file written.
bool saveScreenAsBmp(const std::wstring& path, const RECT* area = nullptr);
// The rectangle around every visible top-level window of a process; false when it shows none.
bool processWindowsBounds(DWORD processId, RECT& bounds);

}  // namespace e2e

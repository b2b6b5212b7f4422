#pragma once
// A picture of the whole screen, taken inside this process. Starting a capture program would
// change the foreground under Wine and take the program's pop-ups off the screen before the shot.
#include <string>

namespace e2e {

// Writes the screen as a 24-bit BMP file; false when the screen cannot be read or the file written.
bool saveScreenAsBmp(const std::wstring& path);

}  // namespace e2e

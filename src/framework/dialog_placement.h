#pragma once
// Where a dialog from a template first appears. A template placed at 0,0 without an explicit
// alignment means "put me somewhere sensible": centred over the owner, as users expect.
#include <windows.h>

namespace halyard {

// True for a template at x = y = 0 without DS_ABSALIGN; false when it cannot be read.
bool templateWantsCentring(HINSTANCE instance, int templateId);

// Centres the window over its owner (or the work area when the owner is hidden or minimised),
// kept inside the work area of the owner's monitor.
void centreOverOwner(HWND window);

}  // namespace halyard

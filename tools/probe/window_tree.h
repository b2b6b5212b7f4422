#pragma once
// Every window below a top-level window, one line each, indented by depth.
#include <windows.h>

#include "probe/probe_report.h"

namespace halyard::probe {

// Class, text, control id, rectangle on the screen and visibility of `root` and its descendants.
// Stops after kMaxTreeWindows windows, so a client with an absurd tree still gives a report.
constexpr int kMaxTreeWindows = 5000;
void writeWindowTree(ProbeReport& report, HWND root);
std::wstring describeWindow(HWND window);

}  // namespace halyard::probe

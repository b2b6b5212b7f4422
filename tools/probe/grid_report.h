#pragma once
// What Halyard needs of a client whose lists are drawn grids: its tree menu's items, the order
// form's control ids on the pages already made, and the grids' classes and ids. Reads only: no
// tree item is selected, nothing is clicked or typed.
#include <windows.h>

#include "probe/probe_report.h"

namespace halyard::probe {

// True when the window has a tree menu (class "SysTreeView32").
bool hasTreeMenu(HWND window);
void writeGridReport(ProbeReport& report, HWND client);

}  // namespace halyard::probe

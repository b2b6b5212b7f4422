#pragma once
// What Halyard itself sees of a broker client's window: its toolbar, the page panels Halyard's
// own rules recognise, and every list as Halyard reads it. Reads only: nothing is clicked, typed
// or written into the client.
#include <windows.h>

#include "probe/probe_report.h"

namespace halyard::probe {

constexpr int kSampleRows = 3;

// True when the window has the toolbar Halyard looks for (class "MHPToolBar", any text).
bool hasClientToolbar(HWND window);
void writeClientReport(ProbeReport& report, HWND client);

}  // namespace halyard::probe

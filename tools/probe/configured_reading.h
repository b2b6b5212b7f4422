#pragma once
// The client's positions and orders read through the broker configuration beside the probe
// (broker_config.xml beside Halyard.exe), exactly as Halyard's monitor reads them: whether the
// lists' titles match the configuration, and the values Halyard would act on.
#include <windows.h>

#include <string>

#include "probe/probe_report.h"

namespace halyard::probe {

void writeConfiguredReading(ProbeReport& report, HWND client, const std::wstring& configPath);

}  // namespace halyard::probe

#pragma once
// Halyard.exe as the end-to-end scenarios run it: a copy of the program in a folder of its own
// with prepared rule and broker files, started with the local time put where the scenario
// wants it (TZ), found and driven through its real windows, closed as a user closes it.
#include <windows.h>

#include <string>

#include "common/unique_handle.h"
#include "rules/stock_rule.h"
#include "support/dialog_driver.h"

namespace e2e {

// A TZ value that makes the local time read hour:minute:second now.
std::wstring timeZoneForLocalTime(int hour, int minute, int second);
// Local seconds since midnight under a TZ made by timeZoneForLocalTime, as the program sees it.
int localSecondsUnder(const std::wstring& timeZone);

// Windows form of a path the build gives in Unix form ("/work/x" -> "Z:\work\x").
std::wstring windowsPath(const std::string& path);

// Writes Halyard.exe, broker_config.xml and Stock_Config.xml (from `rules`) into `folder`.
bool prepareProgramFolder(const std::wstring& folder, const RuleTable& rules);

// The three main-window settings in this prefix's registry, as a user's earlier run left them.
void writeMonitorSettings(int intervalSeconds, int traceOrder, int neverFoundValidBroker);
int readMonitorSetting(const wchar_t* name, int defaultValue);
// SMS, QQ (to the nickname 止损提醒) and a group robot at the URL given, every channel on.
void writeAlertChannels(const std::wstring& webhookUrl);

class HalyardProcess {
public:
    HalyardProcess(const std::wstring& folder, const std::wstring& timeZone);
    // Closes the main window as a user would, then ends the process if it does not go.
    ~HalyardProcess();
    HalyardProcess(const HalyardProcess&) = delete;
    HalyardProcess& operator=(const HalyardProcess&) = delete;

    bool started() const { return static_cast<bool>(process_); }
    DWORD processId() const { return processId_; }
    // The main window (the "Halyard" dialog holding the position list), or null after the wait.
    HWND waitForMainWindow(DWORD timeoutMs = 30000);
    // A message box of the program (a dialog without the position list), or null.
    HWND waitForMessageBox(DWORD timeoutMs = 30000);
    // Close box; true when the process ended within the wait.
    bool close(DWORD timeoutMs = 30000);
    bool waitForExit(DWORD timeoutMs);
    DWORD exitCode() const;

private:
    halyard::UniqueHandle process_;
    DWORD processId_ = 0;
};

// Every visible top-level dialog of a process that is not its main window.
HWND findMessageBox(DWORD processId);
// Its text and buttons: messageBoxText and pressMessageBoxButton.
using halyard::messageBoxText;
using halyard::pressMessageBoxButton;

}  // namespace e2e

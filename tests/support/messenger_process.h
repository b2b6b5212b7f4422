#pragma once
// Test harness for the messenger stand-ins (Windows): simfetion.exe or simqq.exe started with
// options, its main window, its journal of received messages, and a close as a user closes it.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "common/unique_handle.h"
#include "support/sim_client_process.h"
#include "support/temp_folder.h"

namespace halyard::testing {

class MessengerProcess {
public:
    enum class Kind { Fetion, Qq };

    MessengerProcess(Kind kind, std::vector<std::wstring> arguments = {});
    ~MessengerProcess();
    MessengerProcess(const MessengerProcess&) = delete;
    MessengerProcess& operator=(const MessengerProcess&) = delete;

    bool started() const { return window_ != nullptr; }
    const std::wstring& error() const { return error_; }
    HWND window() const { return window_; }
    DWORD processId() const { return processId_; }

    std::vector<JournalEvent> journal() const { return readJournal(journalPath_); }
    // The messages received (sms_sent or qq_sent), in order.
    std::vector<JournalEvent> sent() const;
    size_t count(const std::string& event) const;
    bool waitForSent(size_t count, DWORD timeoutMs = 10000) const;

    // Closes the main window (WM_CLOSE); terminates the process if it has not ended in time.
    bool stop(DWORD timeoutMs = 5000);

private:
    Kind kind_;
    TempFolder temp_;
    std::wstring journalPath_;
    std::wstring error_;
    UniqueHandle process_;
    DWORD processId_ = 0;
    HWND window_ = nullptr;
};

}  // namespace halyard::testing

#pragma once
// Test harness for the simulated broker client (Windows).
//
//   SimClientProcess client({L"--title", L"模拟证券-测试"});          // 64-bit client
//   SimClientProcess old({}, SimClientProcess::Bits::Client32);        // 32-bit client
//   ASSERT_TRUE(client.started()) << client.error();
//   HWND main = client.mainWindow();  DWORD pid = client.processId();
//   client.send(L"price 600000 9.01");                                 // live control
//   auto filled = client.waitFor("order_filled", 5000);                // journal event or nullopt
//   auto accepted = client.waitFor([](const JournalEvent& e) {
//       return e.event == "order_accepted" && e.text("code") == L"600000"; });
//   auto all = client.journal();                                       // every event so far
//
// The client writes its journal into a temporary folder of its own; the destructor sends
// "quit" and terminates the process if it has not ended within a few seconds.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/unique_handle.h"
#include "support/temp_folder.h"

namespace halyard::testing {

// One journal line: {"t":..,"event":"..",...}. Field values are kept as text (numbers as
// written, strings unescaped).
struct JournalEvent {
    long long t = 0;
    std::string event;
    std::map<std::string, std::wstring> fields;

    bool has(const std::string& name) const { return fields.count(name) != 0; }
    std::wstring text(const std::string& name) const;  // "" when absent
    double number(const std::string& name) const;      // 0 when absent or not a number
};

// Parses one flat JSON object line; false when it is not one.
bool parseJournalLine(const std::string& line, JournalEvent& event);
std::vector<JournalEvent> readJournal(const std::wstring& path);

class SimClientProcess {
public:
    enum class Bits { Client64, Client32 };

    explicit SimClientProcess(std::vector<std::wstring> arguments = {}, Bits bits = Bits::Client64,
                              DWORD startTimeoutMs = 20000);
    ~SimClientProcess();
    SimClientProcess(const SimClientProcess&) = delete;
    SimClientProcess& operator=(const SimClientProcess&) = delete;

    // Whether the executable of that width was built (the 32-bit one comes from the win32 build).
    static bool available(Bits bits);
    static std::wstring executablePath(Bits bits);

    bool started() const { return mainWindow_ != nullptr; }
    const std::wstring& error() const { return error_; }
    HWND mainWindow() const { return mainWindow_; }
    DWORD processId() const { return processId_; }
    HANDLE processHandle() const { return process_.get(); }
    const std::wstring& journalPath() const { return journalPath_; }
    const std::wstring& folder() const { return folderPath_; }

    // A live command ("price 600000 9.01"); true when the client accepted it.
    bool send(const std::wstring& command, std::wstring* reply = nullptr, UINT timeoutMs = 10000);

    std::vector<JournalEvent> journal() const { return readJournal(journalPath_); }
    // The first event (from the start of the journal) that the predicate accepts, polling
    // until the timeout; nullopt when none came.
    std::optional<JournalEvent> waitFor(const std::function<bool(const JournalEvent&)>& accept,
                                        DWORD timeoutMs = 5000) const;
    std::optional<JournalEvent> waitFor(const std::string& event, DWORD timeoutMs = 5000) const;
    // Events after the first `skip` ones: for "what happened since".
    std::optional<JournalEvent> waitForAfter(size_t skip,
                                             const std::function<bool(const JournalEvent&)>& accept,
                                             DWORD timeoutMs = 5000) const;

    // Quits the client (terminates it after `timeoutMs`); true when it ended by itself.
    bool stop(DWORD timeoutMs = 5000);
    bool running() const;

private:
    std::unique_ptr<TempFolder> temp_;
    std::wstring folderPath_;
    std::wstring journalPath_;
    std::wstring error_;
    UniqueHandle process_;
    DWORD processId_ = 0;
    HWND mainWindow_ = nullptr;
};

// Posts a left click (down and up) at a client point of a window, as the program does.
void postClick(HWND window, int x, int y);
// The first descendant of `parent` with that class (and text, when given), in EnumChildWindows order.
HWND findDescendant(HWND parent, const wchar_t* className, const wchar_t* text = nullptr);
std::vector<HWND> findDescendants(HWND parent, const wchar_t* className);
// The first visible or hidden top-level window of the process whose title equals `title`, waiting up
// to the timeout.
HWND waitForTopWindow(DWORD processId, const std::wstring& title, DWORD timeoutMs = 5000);
std::wstring windowTextOf(HWND window);

// Posts each key (down, up) to a window of another process with Ctrl held for that window's
// thread only: the thread's keyboard state is shared through AttachThreadInput, and restored
// before detaching once `done` is true or the timeout passed. False when it never became true.
bool postKeysWithCtrl(HWND window, const std::vector<UINT>& keys, const std::function<bool()>& done,
                      DWORD timeoutMs = 5000);
// The clipboard's Unicode text ("" when it has none), and replacing it.
std::wstring clipboardText();
bool setClipboardText(const std::wstring& text);

}  // namespace halyard::testing

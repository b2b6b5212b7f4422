#pragma once
// The simulated broker client as the end-to-end scenarios use it (over the SimClientProcess
// harness): started with a scenario, commanded live, and asserted on through its journal.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// The whole of a file another process is still writing; empty when it cannot be read.
std::string readSharedFile(const std::wstring& path);

struct ClientEvent {
    std::string event;
    std::string line;  // the event as one readable line, for failure reports
    std::map<std::string, std::string> fields;
    // A field's text (UTF-8; a number as written); empty when absent.
    std::string field(const std::string& name) const;
};

class ClientRun {
public:
    // Starts simclient.exe in `folder` with the scenario text (UTF-8 lines) and extra arguments.
    ClientRun(const std::wstring& folder, const std::string& scenario, const std::wstring& arguments = L"");
    ~ClientRun();
    ClientRun(const ClientRun&) = delete;
    ClientRun& operator=(const ClientRun&) = delete;

    bool running() const;
    HWND mainWindow() const;
    // A live command ("price 600000 8.00"); true when the client accepted it.
    bool send(const std::wstring& command);
    std::vector<ClientEvent> events() const;
    std::vector<ClientEvent> events(const std::string& name) const;
    // Waits until `count` events of that name are in the journal; false after the time-out.
    bool waitForEvents(const std::string& name, size_t count, DWORD timeoutMs);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

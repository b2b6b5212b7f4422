#pragma once
// What the soak measures of Halyard from outside: how long its main window takes to answer a
// timed message, asked every second from a thread of its own, and its handles, GDI and USER
// objects and private bytes.
#include <windows.h>

#include <atomic>
#include <thread>

#include "soak/soak_journal.h"

namespace soak {

class MainWindowWatch {
public:
    MainWindowWatch(DWORD processId, SoakJournal& journal);
    ~MainWindowWatch();
    MainWindowWatch(const MainWindowWatch&) = delete;
    MainWindowWatch& operator=(const MainWindowWatch&) = delete;

    // Journals the longest wait and how often the window was asked ("watch_summary").
    void stop();

private:
    void run();

    DWORD processId_;
    SoakJournal& journal_;
    std::atomic<bool> stopping_{false};
    ULONGLONG longestMs_ = 0;
    long asked_ = 0;
    long slow_ = 0;
    std::thread thread_;
};

// Journals "resources" with the figures of the process, marked with `when`.
void journalResources(DWORD processId, const wchar_t* when, SoakJournal& journal);

}  // namespace soak

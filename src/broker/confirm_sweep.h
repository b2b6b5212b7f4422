#pragma once
// The confirmation sweep: the client's pop-ups confirmed, by the executor and by a worker thread.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "common/unique_handle.h"

// What the confirmation sweep may touch, shared by the executor and its worker: only pop-ups of
// the client's process, and "交易确认" only in the seconds after Halyard itself pressed an order
// or cancel button (at other times it is the user's own order, left for the user to check).
// The texts of the pop-ups confirmed are kept for the journal. Nothing is watched until
// discovery or detection found the client's main window with its toolbar.
class SweepScope {
public:
    static constexpr uint32_t kOwnPressWindowMs = 10000;

    // The process of the client's main window, watched until that window goes.
    void watchClient(HWND main);
    void watchProcess(DWORD processId);
    // The watched process; 0 when none is, or the watched main window is gone.
    DWORD process() const;
    HWND client() const { return window_; }
    void ownPressStarted();
    bool ownPressRecent() const;
    // The 交易确认 a sweep met after Halyard's own press stays Halyard's, and confirmable, for as
    // long as it is open: a slow client may ignore 确认 for longer than the press window.
    bool isOwnConfirmation(HWND window);
    bool ownConfirmationOpen() const;
    void addNotice(std::wstring text);
    std::vector<std::wstring> takeNotices();

private:
    std::atomic<HWND> window_{nullptr};
    std::atomic<DWORD> processId_{0};
    std::atomic<uint32_t> ownPressTick_{0};
    std::atomic<bool> ownPressed_{false};
    std::atomic<HWND> ownConfirmation_{nullptr};
    std::mutex lock_;
    std::vector<std::wstring> notices_;
};

// Presses "确认" in the client's pop-ups every 2.2 s (every 0.4 s while Halyard's own order
// awaits its confirmation), on a thread of its own.
class ConfirmSweepWorker {
public:
    explicit ConfirmSweepWorker(std::shared_ptr<SweepScope> scope);
    ConfirmSweepWorker(const ConfirmSweepWorker&) = delete;
    ConfirmSweepWorker& operator=(const ConfirmSweepWorker&) = delete;
    // Waits at most 4000 ms; a thread still inside a sweep then finishes on its own.
    ~ConfirmSweepWorker();

private:
    struct State;
    static DWORD WINAPI run(LPVOID parameter);

    std::shared_ptr<State> state;
    halyard::UniqueHandle thread;
};

// One pass over the top-level windows that confirms the first client pop-up the scope allows (never
// a copy captcha, which is the investor's);
// its text goes to the scope's notices.
void sweepConfirmDialogs(SweepScope& scope);

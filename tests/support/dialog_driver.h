#pragma once
// For tests: runs a dialog's modal loop on a thread of its own, so that the test thread can
// drive it through its real windows (set texts, click, read back) and answer its message boxes.
// Waits are bounded: a dialog that never appears gives a null window, never a hang.
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "framework/dialog.h"

namespace halyard {

class ModalDialogThread {
public:
    // Starts dialog.doModal() on a new thread; the dialog must outlive this object.
    explicit ModalDialogThread(Dialog& dialog);
    ModalDialogThread(const ModalDialogThread&) = delete;
    ModalDialogThread& operator=(const ModalDialogThread&) = delete;
    // Answers any message box with IDCANCEL and closes a dialog still running, then joins.
    ~ModalDialogThread();

    // The dialog's window once it is visible, or null after the time-out.
    HWND waitForDialog(DWORD timeoutMs = 10000);
    // A message box raised on the dialog's thread, or null after the time-out.
    HWND waitForMessageBox(DWORD timeoutMs = 10000);
    // The message box showing now, or null.
    HWND currentMessageBox() const;
    // Waits for a message box, presses `button` in it and returns its text once it has closed;
    // "(no message box)" when none came up.
    std::wstring answerMessageBox(int button);
    // True once the modal loop has returned (the thread is then joined).
    bool waitForEnd(DWORD timeoutMs = 10000);
    bool running() const { return !finished_; }
    INT_PTR result() const { return result_; }
    DWORD threadId() const { return threadId_; }

    // Clicks go by posting, so a handler that opens a message box does not block the test.
    void click(int id) const;
    // Posts WM_COMMAND of `id` to the dialog itself (for commands without a button).
    void command(int id) const;
    // Returns once everything posted to the dialog's thread before it has been handled (or, when
    // a handler opened a message box, is being handled); false after the time-out.
    bool settle(DWORD timeoutMs = 10000);
    void setText(int id, const std::wstring& text) const;
    std::wstring text(int id) const;
    bool isChecked(int id) const;
    bool isEnabled(int id) const;
    HWND focus() const;  // the control with the keyboard focus on the dialog's thread

private:
    static LRESULT CALLBACK markerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    Dialog& dialog_;
    std::atomic<HWND> marker_{nullptr};
    std::atomic<unsigned> postedMarks_{0};
    std::atomic<unsigned> handledMarks_{0};
    std::atomic<DWORD> threadId_{0};
    std::atomic<bool> finished_{false};
    std::atomic<INT_PTR> result_{0};
    std::atomic<HWND> window_{nullptr};
    std::thread thread_;
};

// A window of the dialog class, as message boxes and dialogs from templates are.
bool isDialogWindow(HWND window);
// The message text of a message box, and the press of one of its buttons (IDOK, IDCANCEL).
std::wstring messageBoxText(HWND box);
void pressMessageBoxButton(HWND box, int id);

}  // namespace halyard

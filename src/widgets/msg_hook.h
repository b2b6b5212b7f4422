#pragma once
// The thread's message hook behind the editable grid's in-place editors. It ends an edit when
// the editor loses the focus, on Enter and Escape, and on a click or scroll anywhere outside
// the editor, and keeps track of an open drop-down list (a click into it is not "outside").
// Sent messages are seen after their window procedure ran; posted input is seen as it leaves
// the queue, before the dialog's own keyboard handling.
#include <windows.h>

#include <map>

// Sent to the grid to end the edit in progress; wParam 1 stores, 0 discards.
constexpr UINT kEndEditMessage = WM_USER + 10;

// A grid that wants the thread's key messages for itself and its children before the dialog
// handles them (Tab navigation, Delete). True when handled: the message is then dropped.
class PreTranslator {
public:
    virtual bool preTranslateMessage(MSG& message) = 0;

protected:
    ~PreTranslator() = default;
};

// The hook record of one grid: all zero while it is not editing.
struct CMsgHook {
    CMsgHook();
    ~CMsgHook();
    CMsgHook(const CMsgHook&) = delete;
    CMsgHook& operator=(const CMsgHook&) = delete;

    HWND editor = nullptr;  // the editor in use
    HWND list = nullptr;    // the grid that is editing
    BOOL dropped = FALSE;   // the editor's drop-down list or calendar is open

    void clear();
    // Enters this record under its editor, replacing an earlier entry of it; nothing when either
    // window no longer exists.
    void enter(HWND editorWindow, HWND listWindow);
    // Removes this record's entry; false when it had none (no edit in progress).
    bool leave();
    bool entered() const;

    // The hook serves the thread that runs the grids' windows; the program has one user-interface
    // thread, tests run each dialog on a thread of its own.
    static void followThread(DWORD threadId);
};

// Editor window -> record of the grid editing with it, for the whole process.
using HookMap = std::map<HWND, CMsgHook*>;
HookMap& hookMap();

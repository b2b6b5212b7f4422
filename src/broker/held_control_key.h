#pragma once
// Ctrl held down for one window's thread only, so that a drawn grid that asks GetKeyState sees
// it with the keys posted to it: this thread shares that thread's keyboard state for as long as
// the object lives, and gives the saved state back before it detaches, on every path.
#include <windows.h>

class HeldControlKey {
public:
    explicit HeldControlKey(HWND window);
    ~HeldControlKey();
    HeldControlKey(const HeldControlKey&) = delete;
    HeldControlKey& operator=(const HeldControlKey&) = delete;

    // False when the window's thread could not be joined: nothing is held.
    explicit operator bool() const { return attached_; }

private:
    DWORD self_ = 0;
    DWORD target_ = 0;
    bool attached_ = false;
    BYTE saved_[256] = {};
};

// A key pressed and released, posted to the window alone (never to the focus or the foreground).
void postKeyPress(HWND window, UINT key);

#include "broker/held_control_key.h"

#include <algorithm>
#include <iterator>

HeldControlKey::HeldControlKey(HWND window) {
    target_ = window ? GetWindowThreadProcessId(window, nullptr) : 0;
    self_ = GetCurrentThreadId();
    if (target_ == 0 || target_ == self_) return;
    attached_ = AttachThreadInput(self_, target_, TRUE) != FALSE;
    if (!attached_) return;
    if (!GetKeyboardState(saved_)) {
        AttachThreadInput(self_, target_, FALSE);
        attached_ = false;
        return;
    }
    BYTE held[256];
    std::copy(std::begin(saved_), std::end(saved_), std::begin(held));
    held[VK_CONTROL] = held[VK_LCONTROL] = 0x80;
    SetKeyboardState(held);
}

HeldControlKey::~HeldControlKey() {
    if (!attached_) return;
    // Given back while still attached: detached first, the client's thread would keep Ctrl down.
    SetKeyboardState(saved_);
    AttachThreadInput(self_, target_, FALSE);
}

void postKeyPress(HWND window, UINT key) {
    const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    const auto down = static_cast<LPARAM>(1 | (scan << 16));
    PostMessageW(window, WM_KEYDOWN, key, down);
    PostMessageW(window, WM_KEYUP, key, down | static_cast<LPARAM>(0xC0000000u));
}

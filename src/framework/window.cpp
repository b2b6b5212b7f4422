#include "framework/window.h"

#include <commctrl.h>

#include "common/control_text.h"

namespace halyard {
namespace {

// One subclass id for every framework object; the object pointer travels as reference data and,
// for lookups by handle, in a window property.
constexpr UINT_PTR kSubclassId = 0x48414C59;
constexpr wchar_t kObjectProperty[] = L"Halyard.Window";

}  // namespace

Window::~Window() {
    detach();
}

bool Window::attach(HWND dialog, int id) {
    if (!dialog) return false;
    return attachWindow(GetDlgItem(dialog, id));
}

bool Window::attachWindow(HWND window) {
    if (hwnd_ || !window || !IsWindow(window) || fromHandle(window)) return false;
    if (!SetPropW(window, kObjectProperty, this)) return false;
    if (!SetWindowSubclass(window, subclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
        RemovePropW(window, kObjectProperty);
        return false;
    }
    hwnd_ = window;
    onAttached();
    return true;
}

void Window::detach() {
    if (!hwnd_) return;
    RemoveWindowSubclass(hwnd_, subclassProc, kSubclassId);
    RemovePropW(hwnd_, kObjectProperty);
    hwnd_ = nullptr;
}

int Window::id() const {
    return hwnd_ ? GetDlgCtrlID(hwnd_) : 0;
}

HWND Window::parent() const {
    return hwnd_ ? GetParent(hwnd_) : nullptr;
}

std::wstring Window::text() const {
    return controlText(hwnd_);
}

void Window::setText(const std::wstring& text) {
    if (hwnd_) SetWindowTextW(hwnd_, text.c_str());
}

void Window::enable(bool enabled) {
    if (hwnd_) EnableWindow(hwnd_, enabled ? TRUE : FALSE);
}

bool Window::isEnabled() const {
    return hwnd_ && IsWindowEnabled(hwnd_);
}

void Window::invalidate(bool erase) {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, erase ? TRUE : FALSE);
}

LRESULT Window::send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return hwnd_ ? SendMessageW(hwnd_, message, wParam, lParam) : 0;
}

Window* Window::fromHandle(HWND window) {
    return window ? static_cast<Window*>(GetPropW(window, kObjectProperty)) : nullptr;
}

bool Window::reflectNotify(NMHDR&, LRESULT&) {
    return false;
}
bool Window::reflectCommand(int) {
    return false;
}
bool Window::reflectDrawItem(DRAWITEMSTRUCT&) {
    return false;
}

LRESULT Window::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return defaultProc(message, wParam, lParam);
}

LRESULT Window::defaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefSubclassProc(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR self) {
    auto* object = reinterpret_cast<Window*>(self);
    if (message == WM_NCDESTROY) {
        LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        RemoveWindowSubclass(window, subclassProc, kSubclassId);
        RemovePropW(window, kObjectProperty);
        if (object->hwnd_ == window) object->hwnd_ = nullptr;
        return result;
    }
    return object->windowProc(message, wParam, lParam);
}

}  // namespace halyard

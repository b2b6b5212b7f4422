#pragma once
// The client's pop-ups ("交易确认", "提示"): modeless top-level dialogs owned by the main window,
// so that a button press sent from another program returns at once.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace halyard::simclient {

// A modal pop-up as real clients show theirs: the owner is disabled and messages are pumped
// here until `stillOpen` turns false, so whatever raised the pop-up (an order button's click)
// returns only once it is answered.
void runModalLoop(HWND owner, const std::function<bool()>& stillOpen,
                  const std::function<bool(MSG&)>& dialogMessage);

class Popup {
public:
    // Called once, after the first button press (or the close box), from the message loop.
    using Closed = std::function<void(Popup& popup, const std::wstring& button)>;

    Popup(std::wstring title, std::wstring text, std::vector<std::wstring> buttons, Closed onClosed);
    ~Popup();
    Popup(const Popup&) = delete;
    Popup& operator=(const Popup&) = delete;

    bool create(HWND owner, HFONT font);
    HWND window() const { return window_; }
    const std::wstring& title() const { return title_; }
    const std::wstring& text() const { return text_; }
    // Presses within the next `ms` are ignored: the pop-up stays open as a slow client's does.
    void holdFor(DWORD ms) {
        held_ = true;
        heldUntil_ = GetTickCount() + ms;
    }

private:
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
    void layOut(HWND owner);
    void pressed(const std::wstring& button);

    std::wstring title_, text_;
    std::vector<std::wstring> buttons_;
    Closed onClosed_;
    HFONT font_ = nullptr;
    HWND window_ = nullptr;
    bool closing_ = false;
    bool held_ = false;
    DWORD heldUntil_ = 0;
    std::wstring pressedButton_;
};

}  // namespace halyard::simclient

#include "simclient/popup.h"

#include "simclient/window_helpers.h"

namespace halyard::simclient {
namespace {

constexpr UINT kCloseMessage = WM_APP + 1;
constexpr int kFirstButtonId = 1000;
constexpr int kWidth = 360, kHeight = 180, kButtonWidth = 80, kButtonHeight = 28;

}  // namespace

void runModalLoop(HWND owner, const std::function<bool()>& stillOpen,
                  const std::function<bool(MSG&)>& dialogMessage) {
    const bool wasEnabled = owner && IsWindowEnabled(owner);
    if (wasEnabled) EnableWindow(owner, FALSE);
    MSG message;
    while (stillOpen()) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            PostQuitMessage(got == 0 ? static_cast<int>(message.wParam) : 1);
            break;
        }
        if (dialogMessage(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (wasEnabled && IsWindow(owner)) EnableWindow(owner, TRUE);
}

Popup::Popup(std::wstring title, std::wstring text, std::vector<std::wstring> buttons, Closed onClosed)
    : title_(std::move(title)),
      text_(std::move(text)),
      buttons_(std::move(buttons)),
      onClosed_(std::move(onClosed)) {}

Popup::~Popup() {
    if (window_) {
        SetWindowLongPtrW(window_, DWLP_USER, 0);
        DestroyWindow(window_);
    }
}

bool Popup::create(HWND owner, HFONT font) {
    font_ = font;
    window_ = createDialogWindow(owner, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, procedure,
                                 reinterpret_cast<LPARAM>(this));
    if (!window_) return false;
    layOut(owner);
    ShowWindow(window_, SW_SHOW);
    return true;
}

void Popup::layOut(HWND owner) {
    SetWindowTextW(window_, title_.c_str());
    RECT frame{0, 0, kWidth, kHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE)));
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner) GetWindowRect(owner, &area);
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    SetWindowPos(window_, HWND_TOP, area.left + (area.right - area.left - w) / 2,
                 area.top + (area.bottom - area.top - h) / 2, w, h, SWP_NOACTIVATE);
    addControl(window_, L"Static", text_.c_str(), SS_LEFT | SS_NOPREFIX, 24, 24, kWidth - 48, 90, -1, font_);
    const int count = static_cast<int>(buttons_.size());
    int x = kWidth - 16 - count * (kButtonWidth + 12) + 12;
    for (int i = 0; i < count; ++i) {
        const int id = buttons_[i] == L"取消" ? IDCANCEL : i == 0 ? IDOK : kFirstButtonId + i;
        addControl(window_, L"Button", buttons_[i].c_str(),
                   WS_TABSTOP | (i == 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), x, kHeight - 16 - kButtonHeight,
                   kButtonWidth, kButtonHeight, id, font_);
        x += kButtonWidth + 12;
    }
}

INT_PTR CALLBACK Popup::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        return TRUE;
    }
    auto* self = reinterpret_cast<Popup*>(GetWindowLongPtrW(window, DWLP_USER));
    return self ? self->handle(message, wParam, lParam) : FALSE;
}

void Popup::pressed(const std::wstring& button) {
    // A second press (the program presses twice) or a click after the first is ignored; the
    // pop-up closes from the message loop, not inside the button's own message.
    if (closing_ || (held_ && static_cast<LONG>(GetTickCount() - heldUntil_) < 0)) return;
    closing_ = true;
    pressedButton_ = button;
    PostMessageW(window_, kCloseMessage, 0, 0);
}

INT_PTR Popup::handle(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (HIWORD(wParam) != BN_CLICKED) return FALSE;
            if (id == IDCANCEL) {
                bool hasCancel = false;
                for (const auto& b : buttons_) hasCancel = hasCancel || b == L"取消";
                pressed(hasCancel ? L"取消" : L"关闭");
            } else if (id == IDOK && !buttons_.empty()) {
                pressed(buttons_[0]);
            } else if (id >= kFirstButtonId && id - kFirstButtonId < static_cast<int>(buttons_.size())) {
                pressed(buttons_[static_cast<size_t>(id - kFirstButtonId)]);
            }
            return TRUE;
        }
        case kCloseMessage:
            if (onClosed_) {
                Closed callback = std::move(onClosed_);
                onClosed_ = nullptr;
                callback(*this, pressedButton_);  // may destroy this pop-up
            }
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace halyard::simclient

#include "alerts/qq_driver_win.h"

#include "broker/window_toolkit.h"

namespace {

constexpr wchar_t kChatWindowClass[] = L"TXGuiFoundation";
constexpr int kSendButtonFromRight = 180;
constexpr int kSendButtonFromBottom = 15;
constexpr DWORD kSendPauseMs = 100;

}  // namespace

int QqDriver::sendQqMessage(const std::wstring& windowTitle, const std::wstring& text) {
    qqChatWindow = FindWindowW(kChatWindowClass, windowTitle.c_str());
    if (!qqChatWindow || !IsWindow(qqChatWindow)) return 0;
    // One WM_CHAR per UTF-16 code unit: a character beyond the BMP goes as its two surrogates.
    for (wchar_t unit : text) {
        if (!sendToWindow(qqChatWindow, WM_CHAR, static_cast<WPARAM>(unit), 0)) return 0;
    }
    RECT client{};
    GetClientRect(qqChatWindow, &client);
    const LPARAM point =
        MAKELPARAM(client.right - kSendButtonFromRight, client.bottom - kSendButtonFromBottom);
    PostMessageW(qqChatWindow, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(qqChatWindow, WM_LBUTTONUP, MK_LBUTTON, point);
    Sleep(kSendPauseMs);
    return 1;
}

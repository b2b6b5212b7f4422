// simqq.exe: a stand-in for an open QQ chat window: class "TXGuiFoundation", titled with the
// nickname (--nickname). It collects the characters it is sent (WM_CHAR, one UTF-16 code unit
// each) and sends them on a click at (right - 180, bottom - 15), journalling each message.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "simmessengers/messenger_journal.h"
#include "simmessengers/messenger_options.h"

namespace {

using halyard::simmessengers::MessengerJournal;

constexpr wchar_t kChatClass[] = L"TXGuiFoundation";
constexpr int kSendFromRight = 180;
constexpr int kSendFromBottom = 15;
constexpr int kHitSlack = 8;

struct Chat {
    MessengerJournal* journal = nullptr;
    std::wstring nickname;
    std::wstring typed;
};
Chat chat;

bool onSendButton(HWND window, LPARAM lParam) {
    RECT client;
    GetClientRect(window, &client);
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    return std::abs(x - (client.right - kSendFromRight)) <= kHitSlack &&
           std::abs(y - (client.bottom - kSendFromBottom)) <= kHitSlack;
}

LRESULT CALLBACK chatProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CHAR:
            chat.typed.push_back(static_cast<wchar_t>(wParam));
            InvalidateRect(window, nullptr, TRUE);
            return 0;
        case WM_LBUTTONUP:
            if (onSendButton(window, lParam)) {
                chat.journal->received("qq_sent", chat.nickname, chat.typed);
                chat.typed.clear();
                InvalidateRect(window, nullptr, TRUE);
            }
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            RECT area;
            GetClientRect(window, &area);
            DrawTextW(dc, chat.typed.c_str(), -1, &area, DT_LEFT | DT_WORDBREAK);
            RECT button{area.right - kSendFromRight - 30, area.bottom - kSendFromBottom - 10,
                        area.right - kSendFromRight + 30, area.bottom - kSendFromBottom + 10};
            DrawTextW(dc, L"发送(S)", -1, &button, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const auto options = halyard::simmessengers::commandLineOptions();
    MessengerJournal journal(halyard::simmessengers::option(options, L"--journal", L""));
    chat.journal = &journal;
    chat.nickname = halyard::simmessengers::option(options, L"--nickname", L"Halyard提醒");
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = chatProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kChatClass;
    RegisterClassW(&windowClass);
    RECT frame{0, 0, 480, 360};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    HWND window = CreateWindowExW(0, kChatClass, chat.nickname.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 380,
                                  360, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                  instance, nullptr);
    if (!window) return 1;
    journal.note("started");
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

// simfetion.exe: a stand-in for the Fetion messenger. Its main window (class "FxWnd", titled
// "飞信2013" unless --title says otherwise) opens the top-level "发短信" window on a double click
// at (32, 200); that window holds three "FxRichEdit" fields (two with --fields 2), and a click at
// (328, 211) sends what the first and the third hold. Every send is journalled (--journal).
#include <windows.h>

#include <string>
#include <vector>

#include "simmessengers/messenger_journal.h"
#include "simmessengers/messenger_options.h"

namespace {

using halyard::simmessengers::MessengerJournal;

constexpr wchar_t kMainClass[] = L"FxWnd";
constexpr wchar_t kSmsClass[] = L"FxSmsWnd";
constexpr wchar_t kFieldClass[] = L"FxRichEdit";
constexpr wchar_t kSmsTitle[] = L"发短信";
constexpr POINT kOpenPoint{32, 200};
constexpr POINT kSendPoint{328, 211};
constexpr int kHitSlack = 8;

struct Fetion {
    MessengerJournal* journal = nullptr;
    int fieldCount = 3;
    HWND main = nullptr;
    HWND sms = nullptr;
    std::vector<HWND> fields;
};
Fetion fetion;

bool hits(LPARAM lParam, POINT target) {
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    return x >= target.x - kHitSlack && x <= target.x + kHitSlack && y >= target.y - kHitSlack &&
           y <= target.y + kHitSlack;
}

std::wstring textOf(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

HWND createSized(const wchar_t* className, const wchar_t* title, DWORD style, int width, int height, int x,
                 int y, HWND parent = nullptr) {
    RECT frame{0, 0, width, height};
    if (!parent) AdjustWindowRect(&frame, style, FALSE);
    return CreateWindowExW(0, className, title, style, x, y, frame.right - frame.left,
                           frame.bottom - frame.top, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void openSmsWindow() {
    if (fetion.sms) return;
    fetion.sms = createSized(kSmsClass, kSmsTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 420, 260, 320, 80);
    const int tops[] = {10, 44, 78};
    const wchar_t* initial[] = {L"", L"Halyard模拟飞信", L""};
    fetion.fields.clear();
    for (int i = 0; i < fetion.fieldCount && i < 3; ++i)
        fetion.fields.push_back(createSized(kFieldClass, initial[i], WS_CHILD | WS_VISIBLE | WS_BORDER, 380,
                                            i == 2 ? 100 : 26, 10, tops[i], fetion.sms));
    fetion.journal->note("sms_window_opened");
}

void paintText(HWND window, const std::wstring& text) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT area;
    GetClientRect(window, &area);
    DrawTextW(dc, text.c_str(), -1, &area, DT_LEFT | DT_WORDBREAK);
    EndPaint(window, &paint);
}

LRESULT CALLBACK fieldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        paintText(window, textOf(window));
        return 0;
    }
    LRESULT result = DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_SETTEXT) InvalidateRect(window, nullptr, TRUE);
    return result;
}

LRESULT CALLBACK smsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONUP:
            if (hits(lParam, kSendPoint) && fetion.fields.size() >= 3) {
                fetion.journal->received("sms_sent", textOf(fetion.fields[0]), textOf(fetion.fields[2]));
                SetWindowTextW(fetion.fields[2], L"");
            }
            return 0;
        case WM_PAINT:
            paintText(window,
                      std::wstring(260 / 8, L'\n') + L"                                        [发送]");
            return 0;
        case WM_DESTROY:
            fetion.sms = nullptr;
            fetion.fields.clear();
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK mainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDBLCLK:
            fetion.journal->note("double_click");
            if (hits(lParam, kOpenPoint)) openSmsWindow();
            return 0;
        case WM_PAINT:
            paintText(window, L"模拟飞信\n\n\n\n\n\n\n\n\n\n\n\n  [发短信]");
            return 0;
        case WM_DESTROY:
            if (fetion.sms) DestroyWindow(fetion.sms);
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

void registerClass(const wchar_t* name, WNDPROC procedure, UINT style) {
    WNDCLASSW windowClass{};
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const auto options = halyard::simmessengers::commandLineOptions();
    MessengerJournal journal(halyard::simmessengers::option(options, L"--journal", L""));
    fetion.journal = &journal;
    fetion.fieldCount = halyard::simmessengers::option(options, L"--fields", L"3") == L"2" ? 2 : 3;
    registerClass(kMainClass, mainProc, CS_DBLCLKS);
    registerClass(kSmsClass, smsProc, 0);
    registerClass(kFieldClass, fieldProc, 0);
    const std::wstring title = halyard::simmessengers::option(options, L"--title", L"飞信2013");
    fetion.main = createSized(kMainClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 260, 480, 40, 40);
    if (!fetion.main) return 1;
    journal.note("started");
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

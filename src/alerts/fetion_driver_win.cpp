#include "alerts/fetion_driver_win.h"

#include "broker/window_toolkit.h"

namespace {

constexpr wchar_t kMainWindowClass[] = L"FxWnd";
constexpr wchar_t kMainWindowTitle[] = L"飞信2013";
constexpr wchar_t kTitleText[] = L"飞信";
constexpr wchar_t kSmsWindowTitle[] = L"发短信";
constexpr wchar_t kFieldClass[] = L"FxRichEdit";
constexpr int kClassNameLength = 129;
constexpr LPARAM kOpenSmsPoint = MAKELPARAM(32, 200);
constexpr LPARAM kSendPoint = MAKELPARAM(328, 211);
constexpr DWORD kOpenPauseMs = 100;
// Fetion may take a moment to build the window the double click opens.
constexpr int kOpenScans = 10;
constexpr DWORD kFieldPauseMs = 500;
constexpr DWORD kClickPauseMs = 100;
constexpr DWORD kSendPauseMs = 200;

bool isWindow(HWND window) {
    return window && IsWindow(window);
}

}  // namespace

HWND findFetionMainWindow() {
    if (HWND window = FindWindowW(kMainWindowClass, kMainWindowTitle)) return window;
    return findTopWindowByTitle(kTitleText);
}

int FetionDriver::sendFetionSms(const std::wstring& phoneNumber, const std::wstring& text) {
    if (!fetionMainWindow) fetionMainWindow = FindWindowW(kMainWindowClass, kMainWindowTitle);
    if (!isWindow(fetionMainWindow)) fetionMainWindow = findTopWindowByTitle(kTitleText);
    if (!isWindow(fetionMainWindow)) return 0;

    if (!smsWindowReady()) {
        scanForSmsWindow();
        if (!smsWindowReady()) {
            PostMessageW(fetionMainWindow, WM_LBUTTONDBLCLK, MK_LBUTTON, kOpenSmsPoint);
            for (int scan = 0; scan < kOpenScans && !smsWindowReady(); ++scan) {
                Sleep(kOpenPauseMs);
                scanForSmsWindow();
            }
        }
    }
    if (!smsWindowReady()) return 0;

    if (!sendToWindow(smsRecipientEdit, WM_SETFOCUS, 0, 0) || !setWindowTextOf(smsRecipientEdit, phoneNumber))
        return 0;
    Sleep(kFieldPauseMs);
    if (!sendToWindow(smsMessageEdit, WM_SETFOCUS, 0, 0) || !setWindowTextOf(smsMessageEdit, text)) return 0;
    PostMessageW(smsWindow, WM_LBUTTONDOWN, MK_LBUTTON, kSendPoint);
    PostMessageW(smsWindow, WM_LBUTTONUP, MK_LBUTTON, kSendPoint);
    Sleep(kClickPauseMs);
    Sleep(kSendPauseMs);
    return 1;
}

bool FetionDriver::smsWindowReady() const {
    return isWindow(smsWindow) && isWindow(smsRecipientEdit) && isWindow(smsMessageEdit);
}

// A fresh scan forgets the fields of an earlier window, so handles of two windows never mix.
void FetionDriver::scanForSmsWindow() {
    smsWindow = nullptr;
    smsRecipientEdit = nullptr;
    smsMessageEdit = nullptr;
    richEditCount = 0;
    EnumWindows(topWindowStep, reinterpret_cast<LPARAM>(this));
}

BOOL CALLBACK FetionDriver::topWindowStep(HWND window, LPARAM self) {
    if (windowText(window) != kSmsWindowTitle) return TRUE;
    auto* driver = reinterpret_cast<FetionDriver*>(self);
    driver->smsWindow = window;
    EnumChildWindows(window, fieldStep, self);
    return FALSE;
}

BOOL CALLBACK FetionDriver::fieldStep(HWND window, LPARAM self) {
    wchar_t className[kClassNameLength] = {};
    GetClassNameW(window, className, kClassNameLength);
    if (wcscmp(className, kFieldClass) != 0) return TRUE;
    auto* driver = reinterpret_cast<FetionDriver*>(self);
    if (driver->richEditCount == 0) driver->smsRecipientEdit = window;
    if (driver->richEditCount == 2) driver->smsMessageEdit = window;
    ++driver->richEditCount;
    return TRUE;
}

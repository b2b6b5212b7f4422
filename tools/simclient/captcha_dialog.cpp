#include "simclient/captcha_dialog.h"

#include "common/control_text.h"
#include "simclient/grid_ids.h"
#include "simclient/window_helpers.h"

namespace halyard::simclient {
namespace {

constexpr UINT kAnswerMessage = WM_APP + 2;
constexpr int kWidth = 380, kHeight = 190;
constexpr wchar_t kWarning[] = L"检测到您正在拷贝数据，为保护您的账号数据安全，请先输入验证码";

}  // namespace

CaptchaDialog::CaptchaDialog(std::wstring code, HFONT font, Answered onAnswered)
    : code_(std::move(code)), font_(font), onAnswered_(std::move(onAnswered)) {}

CaptchaDialog::~CaptchaDialog() {
    if (window_) {
        SetWindowLongPtrW(window_, DWLP_USER, 0);
        DestroyWindow(window_);
    }
}

bool CaptchaDialog::create(HWND owner) {
    window_ = createDialogWindow(owner, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, procedure,
                                 reinterpret_cast<LPARAM>(this));
    if (!window_) return false;
    createControls(owner);
    ShowWindow(window_, SW_SHOW);
    SetFocus(edit_);
    return true;
}

void CaptchaDialog::createControls(HWND owner) {
    SetWindowTextW(window_, L"提示");
    RECT frame{0, 0, kWidth, kHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)), FALSE, 0);
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner) GetWindowRect(owner, &area);
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    SetWindowPos(window_, HWND_TOP, area.left + (area.right - area.left - w) / 2,
                 area.top + (area.bottom - area.top - h) / 2, w, h, SWP_NOACTIVATE);
    addControl(window_, L"Static", kWarning, SS_LEFT | SS_NOPREFIX, 20, 16, kWidth - 40, 44, -1, font_);
    addControl(window_, L"Static", L"", SS_OWNERDRAW, 20, 70, 110, 36, kCaptchaImage, font_);
    edit_ = addControl(window_, L"Edit", L"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 150, 76, 120, 24,
                       kCaptchaEdit, font_, WS_EX_CLIENTEDGE);
    addControl(window_, L"Button", L"确定", WS_TABSTOP | BS_DEFPUSHBUTTON, kWidth - 196, kHeight - 48, 80, 28,
               IDOK, font_);
    addControl(window_, L"Button", L"取消", WS_TABSTOP, kWidth - 100, kHeight - 48, 80, 28, IDCANCEL, font_);
}

void CaptchaDialog::showNewCode(std::wstring code) {
    code_ = std::move(code);
    answering_ = false;
    if (edit_) SetWindowTextW(edit_, L"");
    if (HWND image = GetDlgItem(window_, kCaptchaImage)) InvalidateRect(image, nullptr, TRUE);
}

void CaptchaDialog::typeAndConfirm(const std::wstring& typed) {
    if (!edit_) return;
    SetWindowTextW(edit_, typed.c_str());
    SendMessageW(window_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window_, IDOK)));
}

void CaptchaDialog::drawCode(const DRAWITEMSTRUCT& item) const {
    RECT box = item.rcItem;
    FillRect(item.hDC, &box, GetSysColorBrush(COLOR_INFOBK));
    HGDIOBJ oldFont = SelectObject(item.hDC, font_);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, RGB(160, 30, 30));
    DrawTextW(item.hDC, code_.c_str(), static_cast<int>(code_.size()), &box,
              DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    SelectObject(item.hDC, oldFont);
}

INT_PTR CALLBACK CaptchaDialog::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        return FALSE;
    }
    auto* self = reinterpret_cast<CaptchaDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    return self ? self->handle(message, wParam, lParam) : FALSE;
}

INT_PTR CaptchaDialog::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DRAWITEM:
            if (wParam == static_cast<WPARAM>(kCaptchaImage))
                drawCode(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED || (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL))
                return FALSE;
            // One answer at a time, handled from the message loop: the callback may destroy us.
            if (!answering_) {
                answering_ = true;
                cancelled_ = LOWORD(wParam) == IDCANCEL;
                PostMessageW(window_, kAnswerMessage, 0, 0);
            }
            return TRUE;
        case kAnswerMessage:
            if (onAnswered_) onAnswered_(controlText(edit_), cancelled_);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace halyard::simclient

#pragma once
// The copy captcha: a modeless top-level dialog titled "提示" with the warning, the code drawn as
// a picture (its window has no text), an edit for the code, 确定 and 取消.
#include <windows.h>

#include <functional>
#include <string>

namespace halyard::simclient {

class CaptchaDialog {
public:
    // Called from the message loop after 确定 (with the edit's text) or 取消 / the close box
    // (cancelled); it may destroy the dialog.
    using Answered = std::function<void(const std::wstring& typed, bool cancelled)>;

    CaptchaDialog(std::wstring code, HFONT font, Answered onAnswered);
    ~CaptchaDialog();
    CaptchaDialog(const CaptchaDialog&) = delete;
    CaptchaDialog& operator=(const CaptchaDialog&) = delete;

    bool create(HWND owner);
    HWND window() const { return window_; }
    const std::wstring& code() const { return code_; }
    // After a wrong answer: a new picture and an empty edit.
    void showNewCode(std::wstring code);
    // The investor types the code and presses 确定.
    void typeAndConfirm(const std::wstring& typed);

private:
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls(HWND owner);
    void drawCode(const DRAWITEMSTRUCT& item) const;

    std::wstring code_;
    HFONT font_;
    Answered onAnswered_;
    HWND window_ = nullptr;
    HWND edit_ = nullptr;
    bool answering_ = false;
    bool cancelled_ = false;
};

}  // namespace halyard::simclient

#pragma once
// The grid family's copies: each copy of a grid is counted against the copy captcha and, when
// allowed, put on the clipboard as Unicode text. While the captcha is open nothing is copied;
// the copy that raised it goes through once the right code is typed.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "simclient/captcha_dialog.h"
#include "simclient/copy_captcha.h"

namespace halyard::simclient {

class ClientApp;

class GridCopyDesk {
public:
    GridCopyDesk(ClientApp& app, HWND owner);
    ~GridCopyDesk();
    GridCopyDesk(const GridCopyDesk&) = delete;
    GridCopyDesk& operator=(const GridCopyDesk&) = delete;

    void copyAsked(const std::wstring& grid, std::wstring text, int rows);
    HWND captchaWindow() const { return dialog_ ? dialog_->window() : nullptr; }
    // The investor types `code` into the open captcha and presses 确定; false when none is open.
    bool typeCaptcha(const std::wstring& code);

private:
    struct Copy {
        std::wstring grid;
        std::wstring text;
        int rows = 0;
        int number = 0;
    };
    void ask(Copy copy);
    void answered(const std::wstring& typed, bool cancelled);
    void put(const Copy& copy);

    ClientApp& app_;
    HWND owner_;
    CopyCaptcha captcha_;
    std::unique_ptr<CaptchaDialog> dialog_;
    std::optional<Copy> waiting_;
};

}  // namespace halyard::simclient

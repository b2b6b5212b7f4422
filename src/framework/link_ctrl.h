#pragma once
// A control that looks like a hyperlink: an owner-drawn push button showing its text
// underlined in the link colour, with the hand cursor. A click runs onClicked, which by
// default opens the target through the shell.
#include <windows.h>

#include <string>

#include "framework/window.h"

namespace halyard {

class LinkCtrl : public Window {
public:
    void setTarget(const std::wstring& target) { target_ = target; }
    const std::wstring& target() const { return target_; }

    bool reflectCommand(int code) override;
    bool reflectDrawItem(DRAWITEMSTRUCT& item) override;

protected:
    virtual void onClicked();
    // ShellExecuteW "open" of the target; nothing when there is none.
    virtual void openTarget();
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::wstring target_;
};

}  // namespace halyard

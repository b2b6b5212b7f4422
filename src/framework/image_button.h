#pragma once
// A push button showing an icon instead of text (the template gives it BS_ICON), with a tool
// tip of its own.
#include <windows.h>

#include <string>

#include "framework/tool_tip.h"
#include "framework/window.h"

namespace halyard {

class ImageButton : public Window {
public:
    // The icon is not owned by the button; it must outlive it (see UniqueIcon).
    void setIcon(HICON icon);
    HICON icon() const;
    void setToolTip(const std::wstring& text);
    std::wstring toolTipText() const;

private:
    ToolTip toolTip_;
};

}  // namespace halyard

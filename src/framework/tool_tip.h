#pragma once
// A tool-tip control of one window, with one tool per control (identified by its handle).
// Destroyed with its owner window or with this object, whichever comes first.
#include <windows.h>

#include <string>

#include "common/unique_handle.h"
#include "framework/window.h"

namespace halyard {

class ToolTip : public Window {
public:
    ~ToolTip() override;

    // Creates the control for `owner`; false when that fails (the other calls then do nothing).
    bool create(HWND owner);
    bool created() const { return hwnd() != nullptr; }
    // Adds the tool for `control`, or replaces its text when it already has one.
    bool setToolText(HWND control, const std::wstring& text);
    std::wstring toolText(HWND control) const;
    void activate(bool active);

private:
    UniqueWindow owned_;
};

}  // namespace halyard

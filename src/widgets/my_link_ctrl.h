#pragma once
// The "支持" link: a click opens the main window's about box instead of a target. It sends its
// parent WM_COMMAND with its own id and BN_CLICKED (lParam 0, so the command is not offered back
// to the link) and never opens anything itself.
#include <windows.h>

#include "framework/link_ctrl.h"

class CMyLinkCtrl : public halyard::LinkCtrl {
public:
    ~CMyLinkCtrl() override = default;

protected:
    void onClicked() override;
};

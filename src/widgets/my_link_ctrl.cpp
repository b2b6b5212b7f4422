#include "widgets/my_link_ctrl.h"

void CMyLinkCtrl::onClicked() {
    if (HWND owner = parent()) SendMessageW(owner, WM_COMMAND, MAKEWPARAM(id(), BN_CLICKED), 0);
}

#include "framework/image_button.h"

namespace halyard {

void ImageButton::setIcon(HICON icon) {
    send(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}

HICON ImageButton::icon() const {
    return reinterpret_cast<HICON>(send(BM_GETIMAGE, IMAGE_ICON));
}

void ImageButton::setToolTip(const std::wstring& text) {
    if (!hwnd()) return;
    if (!toolTip_.created() && !toolTip_.create(parent() ? parent() : hwnd())) return;
    toolTip_.setToolText(hwnd(), text);
    toolTip_.activate(true);
}

std::wstring ImageButton::toolTipText() const {
    return toolTip_.toolText(hwnd());
}

}  // namespace halyard

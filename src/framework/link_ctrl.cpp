#include "framework/link_ctrl.h"

#include <shellapi.h>

#include "common/unique_handle.h"

namespace halyard {
namespace {

constexpr COLORREF kLinkColour = RGB(0, 0, 255);

}  // namespace

bool LinkCtrl::reflectCommand(int code) {
    if (code != BN_CLICKED) return false;
    onClicked();
    return true;
}

bool LinkCtrl::reflectDrawItem(DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    HFONT base = reinterpret_cast<HFONT>(send(WM_GETFONT));
    LOGFONTW description{};
    if (!base || !GetObjectW(base, sizeof description, &description))
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof description, &description);
    description.lfUnderline = TRUE;
    UniqueFont underlined(CreateFontIndirectW(&description));
    HGDIOBJ previous = underlined ? SelectObject(dc, underlined.get()) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, (item.itemState & ODS_DISABLED) ? GetSysColor(COLOR_GRAYTEXT) : kLinkColour);
    std::wstring caption = text();
    RECT area = item.rcItem;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &area,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &item.rcItem);
    if (previous) SelectObject(dc, previous);
    return true;
}

void LinkCtrl::onClicked() {
    openTarget();
}

void LinkCtrl::openTarget() {
    if (target_.empty()) return;
    ShellExecuteW(parent(), L"open", target_.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

LRESULT LinkCtrl::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETCURSOR) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    }
    return defaultProc(message, wParam, lParam);
}

}  // namespace halyard

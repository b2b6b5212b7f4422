#include "framework/list_ctrl.h"

namespace halyard {

int ListCtrl::insertColumn(int index, const std::wstring& title, int format, int width) {
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<wchar_t*>(title.c_str());
    column.iSubItem = index;
    return static_cast<int>(
        send(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
}

int ListCtrl::columnCount() const {
    HWND header = reinterpret_cast<HWND>(send(LVM_GETHEADER));
    return header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

int ListCtrl::itemCount() const {
    return static_cast<int>(send(LVM_GETITEMCOUNT));
}

void ListCtrl::setItemCount(int count, DWORD flags) {
    send(LVM_SETITEMCOUNT, static_cast<WPARAM>(count), static_cast<LPARAM>(flags));
}

void ListCtrl::setExtendedStyle(DWORD styles) {
    send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(styles));
}

DWORD ListCtrl::extendedStyle() const {
    return static_cast<DWORD>(send(LVM_GETEXTENDEDLISTVIEWSTYLE));
}

int ListCtrl::firstSelected() const {
    if (!hwnd()) return -1;
    return static_cast<int>(send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
}

int ListCtrl::clientWidth() const {
    RECT client{};
    if (!hwnd() || !GetClientRect(hwnd(), &client)) return 0;
    return client.right - client.left;
}

COLORREF ListCtrl::backgroundColour() const {
    COLORREF colour = hwnd() ? static_cast<COLORREF>(send(LVM_GETBKCOLOR)) : CLR_NONE;
    return colour == CLR_NONE ? GetSysColor(COLOR_WINDOW) : colour;
}

COLORREF ListCtrl::textColour() const {
    COLORREF colour = hwnd() ? static_cast<COLORREF>(send(LVM_GETTEXTCOLOR)) : CLR_NONE;
    return colour == CLR_NONE ? GetSysColor(COLOR_WINDOWTEXT) : colour;
}

void ListCtrl::redrawAll() {
    if (hwnd()) RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

COLORREF ListCtrl::cellBackground(int, int) {
    return backgroundColour();
}

COLORREF ListCtrl::cellTextColour(int, int) {
    return textColour();
}

HFONT ListCtrl::cellFont(int, int) {
    return nullptr;
}

bool ListCtrl::reflectNotify(NMHDR& header, LRESULT& result) {
    if (header.code != NM_CUSTOMDRAW || header.hwndFrom != hwnd()) return false;
    result = customDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
    return true;
}

LRESULT ListCtrl::customDraw(NMLVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT:
            return CDRF_NOTIFYSUBITEMDRAW;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
            int row = static_cast<int>(draw.nmcd.dwItemSpec);
            int column = draw.iSubItem;
            COLORREF background = cellBackground(row, column);
            COLORREF text = cellTextColour(row, column);
            bool applied = false;
            if (background != kNoColour) {
                draw.clrTextBk = background;
                applied = true;
            }
            if (text != kNoColour) {
                draw.clrText = text;
                applied = true;
            }
            if (HFONT font = cellFont(row, column)) {
                SelectObject(draw.nmcd.hdc, font);
                applied = true;
            }
            return applied ? CDRF_NEWFONT : CDRF_DODEFAULT;
        }
        default:
            return CDRF_DODEFAULT;
    }
}

}  // namespace halyard

#pragma once
// Report-style list view (owner data capable) with per-cell colour and font hooks, applied
// through the custom draw notifications the parent dialog reflects to the control.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "framework/window.h"

namespace halyard {

// A colour hook returning this leaves the list's own colour in place.
constexpr COLORREF kNoColour = static_cast<COLORREF>(-1);

class ListCtrl : public Window {
public:
    int insertColumn(int index, const std::wstring& title, int format, int width);
    int columnCount() const;
    int itemCount() const;
    // LVM_SETITEMCOUNT of an owner data list; flags such as LVSICF_NOSCROLL.
    void setItemCount(int count, DWORD flags = 0);
    void setExtendedStyle(DWORD styles);
    DWORD extendedStyle() const;
    // First selected row, -1 when none.
    int firstSelected() const;
    int clientWidth() const;
    COLORREF backgroundColour() const;  // the list's own, a system colour when it has none
    COLORREF textColour() const;
    void redrawAll();

    // Cell hooks, asked for every painted cell. The defaults keep the list's own colours.
    virtual COLORREF cellBackground(int row, int column);
    virtual COLORREF cellTextColour(int row, int column);
    // Null keeps the list's font; the returned font is not owned by the list.
    virtual HFONT cellFont(int row, int column);

    bool reflectNotify(NMHDR& header, LRESULT& result) override;

private:
    LRESULT customDraw(NMLVCUSTOMDRAW& draw);
};

}  // namespace halyard

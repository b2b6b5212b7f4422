#pragma once
// The main window's position list: gains in red, losses in green, the rule columns in their
// colours (columns of the main window's position list).
#include <windows.h>

#include "framework/list_ctrl.h"

class CMyListCtrl : public halyard::ListCtrl {
public:
    static constexpr COLORREF kGainRed = RGB(255, 0, 0);
    static constexpr COLORREF kLossGreen = RGB(0, 255, 0);
    static constexpr COLORREF kTrailingGreen = RGB(200, 255, 200);
    static constexpr COLORREF kWhite = RGB(255, 255, 255);

    ~CMyListCtrl() override = default;

    COLORREF cellBackground(int row, int column) override;
};

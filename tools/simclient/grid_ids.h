#pragma once
// The grid family's control ids and messages, as other programs find them.
namespace halyard::simclient {

// The buy and sell pages.
inline constexpr int kGridCodeEdit = 1032, kGridPriceEdit = 1033, kGridQuantityEdit = 1034,
                     kGridOrderButton = 1006;
// The drawn grid of every list page, and its buttons on the 撤单 page.
inline constexpr int kGridControl = 1047, kGridCancelButton = 1099, kGridCancelAllButton = 30001,
                     kGridRefreshButton = 30002;
// The grid's right-click menu item 复制: a WM_COMMAND with this id, sent to the grid, copies all
// its rows (no key needs to be held).
inline constexpr int kGridCopyCommand = 57634;
// The copy captcha: its code edit; 确定 and 取消 are IDOK and IDCANCEL.
inline constexpr int kCaptchaEdit = 2404, kCaptchaImage = 2405;

inline constexpr wchar_t kVirtualGridClass[] = L"CVirtualGridCtrl";

}  // namespace halyard::simclient

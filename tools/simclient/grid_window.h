#pragma once
// The grid family's main window content, inside the client's frame: the tree menu on the left
// (SysTreeView32: 买入[F1], 卖出[F2], 撤单[F3], 查询[F4] with 资金股票, 当日委托, 当日成交) and
// the page of the selected item on its right, made on first show. F1 to F4 select the tree's
// items, F5 refreshes; selecting an item in any way (a click, the keys, TVM_SELECTITEM from
// another program) shows its page.
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "simclient/grid_copy.h"
#include "simclient/page_panel.h"

namespace halyard::simclient {

class ClientApp;

enum class GridPage { Buy, Sell, Cancel, Positions, Orders, Trades };
inline constexpr int kGridPageCount = 6;

class GridShell {
public:
    explicit GridShell(ClientApp& app) : app_(app) {}
    GridShell(const GridShell&) = delete;
    GridShell& operator=(const GridShell&) = delete;

    bool create(HWND main, HWND frame);
    void layOut(const RECT& frameArea);
    // WM_NOTIFY of the frame.
    void notified(const NMHDR& header);
    // Before dispatch: the F-keys and the keyboard of the captcha and of the current page.
    bool preTranslate(MSG& message);
    void refresh();
    void destroyPages();
    std::wstring currentName() const;
    bool typeCaptcha(const std::wstring& code) { return copies_ && copies_->typeCaptcha(code); }

private:
    // The tree menu (grid_tree_menu.cpp).
    bool createTree(HWND frame);
    HTREEITEM addItem(const wchar_t* label, HTREEITEM parent, GridPage page);
    bool functionKey(WPARAM key);

    void show(GridPage page);
    std::unique_ptr<PagePanel> makePage(GridPage page, const RECT& area);
    RECT pageArea() const;

    ClientApp& app_;
    HWND main_ = nullptr, frame_ = nullptr, tree_ = nullptr;
    std::unique_ptr<GridCopyDesk> copies_;
    std::array<HTREEITEM, kGridPageCount> items_{};
    HTREEITEM queryItem_ = nullptr;
    std::array<std::unique_ptr<PagePanel>, kGridPageCount> pages_;
    std::optional<GridPage> current_;
};

}  // namespace halyard::simclient

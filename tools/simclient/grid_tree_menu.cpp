#include "simclient/client_app.h"
#include "simclient/grid_window.h"

namespace halyard::simclient {
namespace {

constexpr int kTreeId = 129;

}  // namespace

bool GridShell::createTree(HWND frame) {
    tree_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS |
                                TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                            0, 0, 100, 100, frame, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTreeId)),
                            GetModuleHandleW(nullptr), nullptr);
    if (!tree_) return false;
    SendMessageW(tree_, WM_SETFONT, reinterpret_cast<WPARAM>(app_.font()), FALSE);
    items_[static_cast<size_t>(GridPage::Buy)] = addItem(L"买入[F1]", TVI_ROOT, GridPage::Buy);
    items_[static_cast<size_t>(GridPage::Sell)] = addItem(L"卖出[F2]", TVI_ROOT, GridPage::Sell);
    items_[static_cast<size_t>(GridPage::Cancel)] = addItem(L"撤单[F3]", TVI_ROOT, GridPage::Cancel);
    queryItem_ = addItem(L"查询[F4]", TVI_ROOT, GridPage::Positions);
    items_[static_cast<size_t>(GridPage::Positions)] = addItem(L"资金股票", queryItem_, GridPage::Positions);
    items_[static_cast<size_t>(GridPage::Orders)] = addItem(L"当日委托", queryItem_, GridPage::Orders);
    items_[static_cast<size_t>(GridPage::Trades)] = addItem(L"当日成交", queryItem_, GridPage::Trades);
    SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(queryItem_));
    return true;
}

HTREEITEM GridShell::addItem(const wchar_t* label, HTREEITEM parent, GridPage page) {
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<wchar_t*>(label);
    insert.item.lParam = static_cast<LPARAM>(page);
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

void GridShell::notified(const NMHDR& header) {
    if (header.hwndFrom != tree_ || (header.code != TVN_SELCHANGEDW && header.code != TVN_SELCHANGEDA))
        return;
    // The item part of the A and W forms differs only in the text pointer's type.
    const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
    if (!change.itemNew.hItem) return;
    const LPARAM page = change.itemNew.lParam;
    if (page >= 0 && page < kGridPageCount) show(static_cast<GridPage>(page));
}

bool GridShell::functionKey(WPARAM key) {
    if (key == VK_F5) {
        app_.refreshPages();
        app_.journal(JournalLine("refreshed"));
        return true;
    }
    const HTREEITEM target = key == VK_F1   ? items_[static_cast<size_t>(GridPage::Buy)]
                             : key == VK_F2 ? items_[static_cast<size_t>(GridPage::Sell)]
                             : key == VK_F3 ? items_[static_cast<size_t>(GridPage::Cancel)]
                             : key == VK_F4 ? items_[static_cast<size_t>(GridPage::Positions)]
                                            : nullptr;
    if (!target) return false;
    SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(target));
    return true;
}

}  // namespace halyard::simclient

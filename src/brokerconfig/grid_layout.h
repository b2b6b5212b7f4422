#pragma once
// What detection learns of a client whose pages hang off a tree menu and whose lists are grids
// drawn by the client itself: where each page is in the tree, the sell form's controls and the
// grids' window class and control id.
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The client families: list-view clients are driven through toolbar points and list-view
// messages, grid clients through their tree menu and copies of their grids.
enum class ClientFamily { ListView, Grid };

// The pages of a grid client that Halyard visits; kOrders may be the same page as kCancel.
enum class GridPage { Buy = 0, Sell, Cancel, Positions, Orders };
constexpr size_t kGridPageCount = 5;

// A tree item as the labels from the root down to it ("查询[F4]", "资金股票").
using TreePath = std::vector<std::wstring>;

struct GridLayout {
    static constexpr int32_t kDefaultCodeEdit = 1032;
    static constexpr int32_t kDefaultPriceEdit = 1033;
    static constexpr int32_t kDefaultQuantityEdit = 1034;
    static constexpr int32_t kDefaultOrderButton = 1006;
    static constexpr int32_t kDefaultGridId = 1047;
    static constexpr const wchar_t* kDefaultGridClass = L"CVirtualGridCtrl";

    // Indexed by GridPage; an empty path is a page detection did not find.
    std::array<TreePath, kGridPageCount> pagePaths;
    int32_t codeEditId = kDefaultCodeEdit;
    int32_t priceEditId = kDefaultPriceEdit;
    int32_t quantityEditId = kDefaultQuantityEdit;
    int32_t orderButtonId = kDefaultOrderButton;
    std::wstring gridClass = kDefaultGridClass;
    int32_t gridId = kDefaultGridId;

    const TreePath& pagePath(GridPage page) const { return pagePaths[static_cast<size_t>(page)]; }
    void setPagePath(GridPage page, TreePath path) { pagePaths[static_cast<size_t>(page)] = std::move(path); }
};

inline bool operator==(const GridLayout& a, const GridLayout& b) {
    return a.pagePaths == b.pagePaths && a.codeEditId == b.codeEditId && a.priceEditId == b.priceEditId &&
           a.quantityEditId == b.quantityEditId && a.orderButtonId == b.orderButtonId &&
           a.gridClass == b.gridClass && a.gridId == b.gridId;
}

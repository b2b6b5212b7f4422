// Learning a running grid client: its window, the tree paths of its pages, the sell form's
// controls and the grids' column maps from one copy of each.
#include <algorithm>
#include <utility>

#include "broker/client_windows.h"
#include "broker/grid_copy_text.h"
#include "broker/grid_order_executor.h"
#include "broker/remote_tree.h"
#include "broker/result_codes.h"
#include "broker/tree_labels.h"
#include "broker/window_toolkit.h"
#include "brokerconfig/broker_detection.h"

namespace {

std::vector<TreeItem> shapeOf(const std::vector<RemoteTreeItem>& items) {
    std::vector<TreeItem> shape;
    for (const RemoteTreeItem& item : items) shape.push_back({item.depth, item.label});
    return shape;
}

bool leadsToPage(const std::array<TreePath, kGridPageCount>& paths, GridPage page) {
    return !paths[static_cast<size_t>(page)].empty();
}

// The tree of a window whose labels lead to the pages a grid client needs, or null.
HWND gridClientTree(HWND main) {
    for (HWND tree : findDescendants(main, L"SysTreeView32")) {
        RemoteTree remote(tree);
        const std::optional<std::vector<RemoteTreeItem>> items = remote ? remote.items() : std::nullopt;
        if (!items) continue;
        const std::array<TreePath, kGridPageCount> paths = learnPagePaths(shapeOf(*items));
        if (leadsToPage(paths, GridPage::Buy) && leadsToPage(paths, GridPage::Sell) &&
            leadsToPage(paths, GridPage::Cancel) && leadsToPage(paths, GridPage::Positions))
            return tree;
    }
    return nullptr;
}

BOOL CALLBACK collectTopWindow(HWND window, LPARAM found) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

// The control id of each role: the usual one when the form has it, else the next edit not
// taken yet, in the order the form made them.
int32_t controlIdOf(int32_t usual, const std::vector<int32_t>& edits, std::vector<int32_t>& taken) {
    const auto isTaken = [&](int32_t id) { return std::find(taken.begin(), taken.end(), id) != taken.end(); };
    const bool usualThere = std::find(edits.begin(), edits.end(), usual) != edits.end();
    for (int32_t id : usualThere ? std::vector<int32_t>{usual} : edits)
        if (!isTaken(id)) return taken.push_back(id), id;
    return 0;
}

uint64_t itemOnPath(const std::vector<RemoteTreeItem>& items, const TreePath& path) {
    const int index = path.empty() ? -1 : findTreePath(shapeOf(items), path);
    return index < 0 ? 0 : items[static_cast<size_t>(index)].handle;
}

std::wstring joinedTitles(const StringList& titles) {
    std::wstring text;
    for (const std::wstring& title : titles) text += (text.empty() ? L"" : L", ") + title;
    return text;
}

}  // namespace

HWND GridOrderExecutor::findUnknownClient() {
    std::vector<HWND> windows;
    EnumWindows(collectTopWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId() || !IsWindowVisible(window)) continue;
        if (findDescendants(window, L"SysTreeView32").empty() || clientOutOfReach(window)) continue;
        if (gridClientTree(window)) return window;
    }
    return nullptr;
}

std::unique_ptr<BrokerConfig> GridOrderExecutor::learn(HWND main, unsigned& pagesFound) {
    std::lock_guard<std::mutex> hold(lock_);
    pagesFound = 0;
    main_ = main;
    tree_ = main ? gridClientTree(main) : nullptr;
    items_ = {};
    if (!tree_) return fail(main && IsWindow(main) ? kPagesNotRecognised : kMainWindowNotFound), nullptr;
    GetWindowThreadProcessId(main_, &processId_);
    RemoteTree tree(tree_);
    const std::optional<std::vector<RemoteTreeItem>> items = tree.items();
    if (!items) return fail(kClientNotAnswering), nullptr;

    const std::wstring title = windowText(main_);
    auto config = std::make_unique<BrokerConfig>(title, title);
    config->family = ClientFamily::Grid;
    config->grid.pagePaths = learnPagePaths(shapeOf(*items));
    for (size_t page = 0; page < kGridPageCount; ++page)
        items_[page] = itemOnPath(*items, config->grid.pagePaths[page]);
    pagesFound = kLearntBuy | (items_[static_cast<size_t>(GridPage::Cancel)] ? kLearntOrders : 0u);
    if (!learnSellForm(*config)) return nullptr;
    pagesFound |= kLearntSell;
    if (!learnColumns(*config)) return nullptr;
    pagesFound |= kLearntPositions;
    lastError_ = 1;
    errorText_.clear();
    return config;
}

bool GridOrderExecutor::learnSellForm(BrokerConfig& config) {
    HWND page = showPage(GridPage::Sell);
    if (!page) return fail(kSellPanelNotFound), false;
    std::vector<int32_t> edits;
    for (HWND edit : findDescendants(page, L"Edit")) edits.push_back(GetDlgCtrlID(edit));
    std::vector<int32_t> taken;
    GridLayout& grid = config.grid;
    grid.codeEditId = controlIdOf(GridLayout::kDefaultCodeEdit, edits, taken);
    grid.priceEditId = controlIdOf(GridLayout::kDefaultPriceEdit, edits, taken);
    grid.quantityEditId = controlIdOf(GridLayout::kDefaultQuantityEdit, edits, taken);
    if (!grid.codeEditId || !grid.priceEditId || !grid.quantityEditId ||
        !GetDlgItem(page, grid.orderButtonId))
        return fail(kSellCodeEditNotFound), false;
    return true;
}

// Each copy here counts toward the client's captcha like any other.
bool GridOrderExecutor::learnColumns(BrokerConfig& config) {
    HWND positions = showPage(GridPage::Positions);
    HWND grid = gridOn(positions, config);
    if (!grid) return fail(kPositionsPanelNotFound), false;
    config.grid.gridId = GetDlgCtrlID(grid);
    const GridCopy copy = copyGridText(grid);
    if (copy.outcome == GridCopyOutcome::CaptchaShown) return fail(kClientAsksCaptcha), false;
    if (copy.outcome != GridCopyOutcome::Copied)
        return fail(kPositionsPanelNotFound, copyFailure(copy.outcome)), false;
    const StringList missing = learnCopiedPositionColumns(copy.text, config);
    if (!missing.empty())
        return fail(kPositionsPanelNotFound, L"持仓表格缺少这些列: " + joinedTitles(missing)), false;
    const GridPage ordersPage =
        items_[static_cast<size_t>(GridPage::Orders)] ? GridPage::Orders : GridPage::Cancel;
    const GridCopy orders = copyPage(ordersPage, config);
    // Without an orders map the client is still guarded; only 追单 and 全撤 need it.
    if (orders.outcome == GridCopyOutcome::Copied)
        learnCopiedOrderColumns(orders.text, config);
    else
        copyFailure(orders.outcome);
    return true;
}

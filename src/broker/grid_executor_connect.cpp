#include "broker/client_windows.h"
#include "broker/grid_order_executor.h"
#include "broker/remote_tree.h"
#include "broker/result_codes.h"
#include "broker/tree_labels.h"
#include "broker/window_toolkit.h"
#include "brokerconfig/broker_config_store.h"

namespace {

constexpr DWORD kPageShowMs = 1000;
constexpr DWORD kPollMs = 20;

// The tree's item whose labels from the root read as `path` (hot keys and brackets aside); 0 for none.
uint64_t itemAt(const std::vector<RemoteTreeItem>& items, const TreePath& path) {
    if (path.empty()) return 0;
    std::vector<TreeItem> shape;
    for (const RemoteTreeItem& item : items) shape.push_back({item.depth, item.label});
    const int index = findTreePath(shape, path);
    return index < 0 ? 0 : items[static_cast<size_t>(index)].handle;
}

}  // namespace

int GridOrderExecutor::connect() {
    std::lock_guard<std::mutex> hold(lock_);
    const BrokerConfig* config = BrokerConfigStore::instance()->current;
    if (!config || config->family != ClientFamily::Grid) return fail(kMainWindowNotFound), 0;
    return discover(*config);
}

int GridOrderExecutor::discover(const BrokerConfig& config) {
    main_ = findClientWindowByTitle(config.windowName.c_str());
    tree_ = nullptr;
    items_ = {};
    sellPage_ = nullptr;
    if (!main_) return fail(kMainWindowNotFound), 0;
    if (const int refused = clientOutOfReach(main_)) return fail(refused), 0;
    GetWindowThreadProcessId(main_, &processId_);
    const std::vector<HWND> trees = findDescendants(main_, L"SysTreeView32");
    if (trees.empty()) return fail(kPagesNotRecognised), 0;
    RemoteTree tree(trees.front());
    const std::optional<std::vector<RemoteTreeItem>> items = tree.items();
    if (!items) return fail(kClientNotAnswering), 0;
    for (size_t page = 0; page < kGridPageCount; ++page)
        items_[page] = itemAt(*items, config.grid.pagePaths[page]);
    if (!items_[static_cast<size_t>(GridPage::Sell)]) return fail(kSellPanelNotFound), 0;
    if (!items_[static_cast<size_t>(GridPage::Positions)]) return fail(kPositionsPanelNotFound), 0;
    tree_ = trees.front();
    // The client makes a page only when it is first shown; the sell form is needed between copies.
    sellPage_ = showPage(GridPage::Sell);
    if (!sellPage_) return fail(kSellPanelNotFound), 0;
    positionsDue_ = ordersDue_ = true;
    lastError_ = 1;
    copyPositions(config);
    return 1;
}

bool GridOrderExecutor::connectedNow() const {
    return main_ && IsWindow(main_) && tree_ && IsWindow(tree_) && IsChild(main_, tree_);
}

int GridOrderExecutor::isConnected() {
    std::lock_guard<std::mutex> hold(lock_);
    return connectedNow() ? 1 : 0;
}

HWND GridOrderExecutor::showPage(GridPage page) {
    const uint64_t item = items_[static_cast<size_t>(page)];
    if (!item || !connectedNow()) return nullptr;
    RemoteTree tree(tree_);
    if (!tree.select(item)) return nullptr;
    // The client shows the page while it handles the selection; a slow one a moment later.
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND shown = visibleDialogChild(GetParent(tree_))) return shown;
        if (GetTickCount() - start >= kPageShowMs) return nullptr;
        Sleep(kPollMs);
    }
}

HWND GridOrderExecutor::gridOn(HWND page, const BrokerConfig& config) const {
    if (!page) return nullptr;
    const std::vector<HWND> grids = findDescendants(page, config.grid.gridClass.c_str());
    for (HWND grid : grids)
        if (GetDlgCtrlID(grid) == config.grid.gridId) return grid;
    return grids.empty() ? nullptr : grids.front();
}

WindowHandle GridOrderExecutor::findClientMainWindow() {
    const BrokerConfig* config = BrokerConfigStore::instance()->current;
    if (config && config->family == ClientFamily::Grid)
        return findClientWindowByTitle(config->windowName.c_str());
    return nullptr;
}

const wchar_t* GridOrderExecutor::lastErrorText() {
    std::lock_guard<std::mutex> hold(lock_);
    return errorText_.empty() ? resultCodeText(lastError_) : errorText_.c_str();
}

int32_t GridOrderExecutor::fail(int32_t code, std::wstring text) {
    lastError_ = code;
    errorText_ = std::move(text);
    return code;
}

int GridOrderExecutor::hasOrdersList() {
    std::lock_guard<std::mutex> hold(lock_);
    return items_[static_cast<size_t>(GridPage::Cancel)] ? 1 : 0;
}

// What detection learns of a grid client is kept in its configuration; here the configuration
// in use is tried as it is.
int GridOrderExecutor::detectBroker() {
    return connect();
}

int GridOrderExecutor::autoConfigure() {
    std::lock_guard<std::mutex> hold(lock_);
    fail(kPagesNotRecognised, L"此类券商软件没有工具栏可配置, 请用检测券商学习它的菜单和表格");
    return 0;
}

int GridOrderExecutor::sendFetionSms(const wchar_t* phoneNumber, const wchar_t* text) {
    return messengers_ ? messengers_->sendFetionSms(phoneNumber, text) : 0;
}

int GridOrderExecutor::sendQqMessage(const wchar_t* windowTitle, const wchar_t* text) {
    return messengers_ ? messengers_->sendQqMessage(windowTitle, text) : 0;
}

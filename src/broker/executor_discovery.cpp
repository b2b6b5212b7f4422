#include "broker/remote_list_reader.h"
#include "broker/result_codes.h"
#include "broker/window_toolkit.h"
#include "broker/zszq_order_executor.h"

namespace {

constexpr size_t kPanelEdits = 4;
constexpr size_t kPanelButtons = 2;
constexpr size_t kBuyPanelStatics = 10;
constexpr size_t kSellPanelStatics = 8;

HWND firstList(HWND panel) {
    std::vector<HWND> lists = findDescendants(panel, L"SysListView32");
    return lists.empty() ? nullptr : lists.front();
}

}  // namespace

WindowHandle ZsZqOrderExecutor::findClientMainWindow() {
    for (const wchar_t* word : {L"证券", L"通达信", L"金融终端", L"闪电手"})
        if (HWND window = findTopWindowByTitle(word)) return window;
    return nullptr;
}

int ZsZqOrderExecutor::discoverWindows(const BrokerConfig* config) {
    std::lock_guard<std::mutex> hold(lock);
    if (!config) {
        lastError = kMainWindowNotFound;
        return 0;
    }
    clientMainWindow = findTopWindowByTitle(config->windowName.c_str());
    if (!clientMainWindow) {
        lastError = kMainWindowNotFound;
        return 0;
    }
    std::vector<HWND> toolbars = findDescendants(clientMainWindow, L"MHPToolBar", L"MainViewBar");
    if (toolbars.empty() || !toolbars.front()) {
        lastError = kToolbarNotFound;
        return 0;
    }
    toolbarWindow = toolbars.front();
    HWND top = grandparent(toolbarWindow);
    if (!top) {
        lastError = kToolbarParentNotFound;
        return 0;
    }

    // The client creates a page's panel only when the page is first opened.
    for (ButtonSlot page : {ButtonSlot::Buy, ButtonSlot::Sell, ButtonSlot::Positions, ButtonSlot::Cancel})
        clickToolbarButton(page);

    Panels panels = classifyPanels(findDescendants(top, L"#32770"), *config);
    if (!panels.buy || !panels.sell || !panels.positions) return 0;

    std::vector<HWND> edits = findDescendants(panels.buy, L"Edit");
    if (edits.size() < kPanelEdits) {
        lastError = kBuyCodeEditNotFound;
        return 0;
    }
    buyCodeEdit = edits[0];
    buyPriceEdit = edits[1];
    buyQuantityEdit = edits[3];
    std::vector<HWND> statics = findDescendants(panels.buy, L"Static");
    if (statics.size() < kBuyPanelStatics) {
        lastError = kBuyMaxLabelNotFound;
        return 0;
    }
    buyMaxLabel = statics[9];
    std::vector<HWND> buttons = findDescendants(panels.buy, L"Button");
    if (buttons.size() < kPanelButtons) {
        lastError = kBuyOrderButtonNotFound;
        return 0;
    }
    buyOrderButton = buttons[0];

    edits = findDescendants(panels.sell, L"Edit");
    if (edits.size() < kPanelEdits) {
        lastError = kSellCodeEditNotFound;
        return 0;
    }
    sellCodeEdit = edits[0];
    sellPriceEdit = edits[1];
    sellQuantityEdit = edits[3];
    statics = findDescendants(panels.sell, L"Static");
    if (statics.size() < kSellPanelStatics) {
        lastError = kSellMaxLabelNotFound;
        return 0;
    }
    sellMaxLabel = statics[7];
    buttons = findDescendants(panels.sell, L"Button");
    if (buttons.size() < kPanelButtons) {
        lastError = kSellOrderButtonNotFound;
        return 0;
    }
    sellOrderButton = buttons[0];

    positionsList = firstList(panels.positions);
    if (panels.orders) ordersList = firstList(panels.orders);
    refreshPositions();
    refreshOrders();
    return 1;
}

ZsZqOrderExecutor::Panels ZsZqOrderExecutor::classifyPanels(const std::vector<HWND>& dialogs,
                                                            const BrokerConfig& config) {
    Panels panels;
    const StringList& positionTitles = config.positionTitles();
    const StringList& commitTitles = config.commitTitles();
    for (HWND dialog : dialogs) {
        for (HWND button : findDescendants(dialog, L"Button")) {
            const std::wstring caption = windowText(button);
            if (caption == L"买入下单") {
                panels.buy = dialog;
            } else if (caption == L"卖出下单") {
                panels.sell = dialog;
            } else if (listHasExactColumns(dialog, positionTitles)) {
                panels.positions = dialog;
            } else if (!panels.orders && listHasExactColumns(dialog, commitTitles)) {
                panels.orders = dialog;
                cancelButton = button;
            }
        }
    }
    if (!panels.buy) lastError = kBuyPanelNotFound;
    if (!panels.sell) lastError = kSellPanelNotFound;
    if (!panels.positions) lastError = kPositionsPanelNotFound;
    if (!panels.orders) lastError = kOrdersPanelNotFound;
    return panels;
}

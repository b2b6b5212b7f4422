#include "broker/client_windows.h"
#include "broker/order_panel_captions.h"
#include "broker/panel_recognition.h"
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

// The orders panel's cancel button: the one captioned 撤单, else the button that recognised the
// panel; never 全撤, which would cancel every order.
HWND cancelButtonOf(HWND panel, HWND recognising) {
    for (HWND button : findDescendants(panel, L"Button"))
        if (windowText(button) == L"撤单") return button;
    return windowText(recognising) == L"全撤" ? nullptr : recognising;
}

// The buy and sell forms differ only in how many statics they have and which one shows the
// maximum quantity.
struct FormShape {
    size_t statics;
    size_t maxLabelIndex;
    int noCodeEdit;
    int noMaxLabel;
    int noOrderButton;
};

// Fills the form's handles; answers 0, or the code of the first part the panel lacks.
int findOrderForm(HWND panel, const FormShape& shape, HWND& codeEdit, HWND& priceEdit, HWND& quantityEdit,
                  HWND& maxLabel, HWND& orderButton) {
    const std::vector<HWND> edits = findDescendants(panel, L"Edit");
    if (edits.size() < kPanelEdits) return shape.noCodeEdit;
    const std::vector<HWND> statics = findDescendants(panel, L"Static");
    if (statics.size() < shape.statics) return shape.noMaxLabel;
    const std::vector<HWND> buttons = findDescendants(panel, L"Button");
    if (buttons.size() < kPanelButtons) return shape.noOrderButton;
    codeEdit = edits[0];
    priceEdit = edits[1];
    quantityEdit = edits[3];
    maxLabel = statics[shape.maxLabelIndex];
    orderButton = buttons[0];
    return 0;
}

}  // namespace

// The client of the configuration in use first, then any client of either family.
WindowHandle ZsZqOrderExecutor::findClientMainWindow() {
    if (GridOrderExecutor* inUse = gridInUse())
        if (HWND own = inUse->findClientMainWindow()) return own;
    if (HWND listView = listViewClientWindow()) return listView;
    return GridOrderExecutor::findUnknownClient();
}

HWND ZsZqOrderExecutor::listViewClientWindow() {
    // A window with the client's toolbar wins over one that only shares a word of its title.
    static const wchar_t* const kWords[] = {L"证券", L"通达信", L"金融终端", L"闪电手"};
    for (const wchar_t* word : kWords)
        for (HWND window : findTopWindowsByTitle(word))
            if (clientToolbarOf(window)) return window;
    for (const wchar_t* word : kWords)
        if (HWND window = findTopWindowByTitle(word)) return window;
    return nullptr;
}

int ZsZqOrderExecutor::discoverWindows(const BrokerConfig* config) {
    std::lock_guard<std::mutex> hold(lock);
    if (!config) {
        lastError = kMainWindowNotFound;
        return 0;
    }
    clientMainWindow = findClientWindowByTitle(config->windowName.c_str());
    if (!clientMainWindow) {
        lastError = kMainWindowNotFound;
        return 0;
    }
    if (const int refused = clientOutOfReach(clientMainWindow)) {
        lastError = refused;
        return 0;
    }
    std::vector<HWND> toolbars = findDescendants(clientMainWindow, L"MHPToolBar", L"MainViewBar");
    if (toolbars.empty() || !toolbars.front()) {
        lastError = kToolbarNotFound;
        return 0;
    }
    toolbarWindow = toolbars.front();
    // Only a window with the client's toolbar is the client: a look-alike title (a browser
    // tab, a news window) never gets its pop-ups pressed.
    sweepScope->watchClient(clientMainWindow);
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

    const FormShape buyShape{kBuyPanelStatics, 9, kBuyCodeEditNotFound, kBuyMaxLabelNotFound,
                             kBuyOrderButtonNotFound};
    const FormShape sellShape{kSellPanelStatics, 7, kSellCodeEditNotFound, kSellMaxLabelNotFound,
                              kSellOrderButtonNotFound};
    int missing = findOrderForm(panels.buy, buyShape, buyCodeEdit, buyPriceEdit, buyQuantityEdit, buyMaxLabel,
                                buyOrderButton);
    if (missing == 0)
        missing = findOrderForm(panels.sell, sellShape, sellCodeEdit, sellPriceEdit, sellQuantityEdit,
                                sellMaxLabel, sellOrderButton);
    if (missing != 0) {
        lastError = missing;
        return 0;
    }

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
            if (caption == kBuyOrderCaption) {
                panels.buy = dialog;
            } else if (caption == kSellOrderCaption) {
                panels.sell = dialog;
            } else if (listHasExactColumns(dialog, positionTitles)) {
                panels.positions = dialog;
            } else if (!panels.orders && listHasExactColumns(dialog, commitTitles)) {
                panels.orders = dialog;
                cancelButton = cancelButtonOf(dialog, button);
            }
        }
    }
    if (!panels.buy) lastError = kBuyPanelNotFound;
    if (!panels.sell) lastError = kSellPanelNotFound;
    if (!panels.positions) lastError = kPositionsPanelNotFound;
    if (!panels.orders) lastError = kOrdersPanelNotFound;
    return panels;
}

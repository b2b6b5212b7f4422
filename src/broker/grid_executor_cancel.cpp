#include <algorithm>
#include <cwctype>

#include "broker/grid_copy_text.h"
#include "broker/grid_order_executor.h"
#include "broker/grid_popups.h"
#include "broker/held_control_key.h"
#include "broker/result_codes.h"
#include "broker/window_toolkit.h"
#include "brokerconfig/broker_config_store.h"

namespace {

constexpr DWORD kPopupWaitMs = 5000;
constexpr DWORD kAfterRowKeysMs = 200;
constexpr int kCancelChecks = 3;
constexpr DWORD kCancelCheckPauseMs = 400;

// Index of the first order still open with that code and direction, or -1.
int openOrderIndex(const OrderRows& rows, const std::wstring& code, int32_t direction) {
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].code == code && rows[i].direction == direction && orderIsOpen(rows[i]))
            return static_cast<int>(i);
    return -1;
}

bool stillOpen(const OrderRows& rows, const OrderRow& order) {
    for (const OrderRow& row : rows)
        if (orderIsOpen(row) && row.code == order.code && row.direction == order.direction &&
            row.contractNumber == order.contractNumber)
            return true;
    return false;
}

// The confirmation names the order it cancels: its contract number, not the start of a longer one.
bool namesContract(const std::wstring& text, const std::wstring& contract) {
    if (contract.empty()) return true;
    for (size_t at = text.find(contract); at != std::wstring::npos; at = text.find(contract, at + 1)) {
        const size_t end = at + contract.size();
        const bool digitBefore = at > 0 && iswdigit(text[at - 1]);
        const bool digitAfter = end < text.size() && iswdigit(text[end]);
        if (!digitBefore && !digitAfter) return true;
    }
    return false;
}

}  // namespace

float GridOrderExecutor::pendingOrderQuantity(const wchar_t* code, int32_t direction) {
    std::lock_guard<std::mutex> hold(lock_);
    const BrokerConfig* config = BrokerConfigStore::instance()->current;
    if (!config || (!connectedNow() && !discover(*config))) return 0;
    const GridPage page = items_[static_cast<size_t>(GridPage::Orders)] ? GridPage::Orders : GridPage::Cancel;
    if (ordersDue_ || GetTickCount() - lastOrdersCopyTick_ >= copyIntervalMs_) copyOrders(page, *config);
    int32_t open = 0;
    for (const OrderRow& row : PositionSnapshotStore::instance()->copyOrderRows())
        if (row.code == (code ? code : L"") && row.direction == direction && orderIsOpen(row))
            open += std::max(0, row.quantity - row.filledQuantity);
    return static_cast<float>(open);
}

bool GridOrderExecutor::cancelOrder(const wchar_t* code, int32_t direction) {
    std::lock_guard<std::mutex> hold(lock_);
    const BrokerConfig* config = BrokerConfigStore::instance()->current;
    if (!config || (!connectedNow() && !discover(*config))) return false;
    HWND page = showPage(GridPage::Cancel);
    HWND grid = gridOn(page, *config);
    const std::vector<HWND> buttons = page ? findDescendants(page, L"Button", L"撤单") : std::vector<HWND>{};
    if (!grid || buttons.empty()) return fail(kCancelButtonNotPressed), false;
    // The row is chosen on a fresh copy of this very grid: the client may have re-sorted it.
    if (!copyOrders(GridPage::Cancel, *config)) return fail(kCancelButtonNotPressed), false;
    const OrderRows rows = PositionSnapshotStore::instance()->copyOrderRows();
    const int index = openOrderIndex(rows, code ? code : L"", direction);
    if (index < 0) return false;
    const OrderRow order = rows[static_cast<size_t>(index)];
    if (!selectOrderRow(grid, static_cast<size_t>(index), rows.size())) return fail(kFormWindowGone), false;
    if (pressButtonStages(buttons.front()) == ButtonPress::NotReached)
        return fail(kCancelButtonNotPressed), false;
    positionsDue_ = ordersDue_ = true;
    if (!confirmCancelOf(order)) return fail(kCancelButtonNotPressed), false;
    // Done only when the client no longer lists the order as open: a press is no cancel.
    if (cancelShownGone(order, *config)) return true;
    return fail(kCancelNotConfirmed), false;
}

// The arrow keys move the grid's current row whatever its row height: up to the top, then down.
bool GridOrderExecutor::selectOrderRow(HWND grid, size_t row, size_t rows) {
    for (size_t i = 0; i <= rows; ++i) postKeyPress(grid, VK_UP);
    for (size_t i = 0; i < row; ++i) postKeyPress(grid, VK_DOWN);
    Sleep(kAfterRowKeysMs);
    return IsWindow(grid);
}

// The confirmation is answered 是 only when it names the order chosen; any other gets 否.
bool GridOrderExecutor::confirmCancelOf(const OrderRow& order) {
    HWND popup = waitForPopup(processId_, L"撤单确认", kPopupWaitMs);
    if (!popup) return false;
    if (!namesContract(popupText(popup), order.contractNumber)) {
        answerPopup(processId_, L"撤单确认", L"否(N)", kPopupWaitMs);
        addNotice(L"撤单 " + order.code + L": 券商软件选中的不是合同编号 " + order.contractNumber +
                  L" 的委托, 没有撤单");
        return false;
    }
    if (!answerPopup(processId_, L"撤单确认", L"是(Y)", kPopupWaitMs)) return false;
    if (const std::optional<std::wstring> notice = readCancelNotice(processId_, kPopupWaitMs))
        addNotice(L"撤单 " + order.code + L" 合同编号 " + order.contractNumber + L": " + *notice);
    return true;
}

bool GridOrderExecutor::cancelShownGone(const OrderRow& order, const BrokerConfig& config) {
    for (int check = 0; check < kCancelChecks; ++check) {
        Sleep(kCancelCheckPauseMs);
        if (copyOrders(GridPage::Cancel, config) &&
            !stillOpen(PositionSnapshotStore::instance()->copyOrderRows(), order))
            return true;
    }
    return false;
}

#include <algorithm>
#include <cmath>

#include "broker/broker_tables.h"
#include "broker/number_text.h"
#include "broker/remote_list_reader.h"
#include "broker/result_codes.h"
#include "broker/window_toolkit.h"
#include "broker/zszq_order_executor.h"
#include "brokerconfig/broker_config_store.h"

namespace {

constexpr DWORD kAfterOrderButtonMs = 2000;
constexpr DWORD kAfterRowClickMs = 100;
constexpr DWORD kAfterCancelButtonMs = 100;
constexpr DWORD kBetweenCancelSweepsMs = 500;
constexpr LONG kRowClickInsetX = 10;
constexpr int kSelectionRetries = 10;
constexpr DWORD kSelectionRetryMs = 50;
constexpr int kCancelChecks = 3;
constexpr DWORD kCancelCheckPauseMs = 300;

// A window that is gone takes nothing without complaint (a stale handle); one that is still
// there but does not answer belongs to a hung client.
bool stoppedAnswering(bool answered, HWND window) {
    return !answered && IsWindow(window);
}

bool showsPrice(HWND edit, const std::wstring& typed) {
    const std::optional<std::wstring> shown = getTextByMessage(edit);
    const std::optional<float> shownPrice = shown ? readCellDecimal(*shown) : std::nullopt;
    const std::optional<float> typedPrice = readCellDecimal(typed);
    return shownPrice && typedPrice && std::fabs(*shownPrice - *typedPrice) < 0.0005f;
}

// A quote the client fills in late overwrites the typed price: it is typed once more, and the
// order goes only with the typed price in the field.
bool keepsTypedPrice(HWND edit, const std::wstring& typed) {
    if (showsPrice(edit, typed)) return true;
    return setWindowTextOf(edit, typed) && showsPrice(edit, typed);
}

}  // namespace

ZsZqOrderExecutor::OrderForm ZsZqOrderExecutor::buyForm() const {
    return {buyCodeEdit, buyPriceEdit, buyQuantityEdit, buyOrderButton, ButtonSlot::Buy};
}

ZsZqOrderExecutor::OrderForm ZsZqOrderExecutor::sellForm() const {
    return {sellCodeEdit, sellPriceEdit, sellQuantityEdit, sellOrderButton, ButtonSlot::Sell};
}

bool ZsZqOrderExecutor::clearForm(const OrderForm& form) {
    for (HWND edit : {form.codeEdit, form.priceEdit, form.quantityEdit})
        if (!setWindowTextOf(edit, L"")) return false;
    return true;
}

void ZsZqOrderExecutor::clearBuyForm() {
    clearForm(buyForm());
}

void ZsZqOrderExecutor::clearSellForm() {
    clearForm(sellForm());
}

int32_t ZsZqOrderExecutor::submitOrder(const OrderForm& form, const wchar_t* code,
                                       const std::optional<std::wstring>& priceText,
                                       const std::optional<std::wstring>& quantityText) {
    // A form of a client that was closed or rebuilt its pages takes messages without effect.
    for (HWND part : {form.codeEdit, form.priceEdit, form.quantityEdit, form.orderButton})
        if (!IsWindow(part)) return kFormWindowGone;
    Sleep(0);
    sweepConfirmDialogs();
    if (!IsWindowVisible(form.codeEdit)) clickToolbarButton(form.page);
    // Cleared whether shown or not: the last sale's price would pass for the quote of this code,
    // and only an empty price field tells when the client's quote for this code is in.
    // A client that stops answering gets nothing more: half a form must never be submitted later.
    if (stoppedAnswering(clearForm(form), form.codeEdit) ||
        stoppedAnswering(setWindowTextOf(form.codeEdit, code ? code : L""), form.codeEdit) ||
        stoppedAnswering(waitForText(form.priceEdit), form.priceEdit) ||
        (priceText && stoppedAnswering(setWindowTextOf(form.priceEdit, *priceText), form.priceEdit)) ||
        (quantityText &&
         stoppedAnswering(setWindowTextOf(form.quantityEdit, *quantityText), form.quantityEdit)))
        return IsWindow(form.orderButton) ? kClientNotAnswering : kFormWindowGone;
    if (!IsWindow(form.orderButton)) return kFormWindowGone;
    if (priceText && !keepsTypedPrice(form.priceEdit, *priceText)) return kPriceNotKept;
    // The confirmation this press raises is Halyard's own: the sweeps may confirm it. A client
    // whose confirmation is modal answers the press only once it is confirmed.
    sweepScope->ownPressStarted();
    switch (pressButtonStages(form.orderButton)) {
        case ButtonPress::Pressed:
            break;
        case ButtonPress::NotReached:
            // The state change or the button-down went unanswered: the click never happened.
            return IsWindow(form.orderButton) ? kClientNotAnswering : kOrderButtonNotPressed;
        case ButtonPress::ReleaseUnanswered:
            // The button-up was delivered and is still being handled (a modal confirmation
            // holds it): the order is on its way.
            if (!IsWindow(form.orderButton)) return kOrderButtonNotPressed;
            break;
    }
    Sleep(kAfterOrderButtonMs);
    sweepConfirmDialogs();
    return kResultDone;
}

int32_t ZsZqOrderExecutor::sell(const wchar_t* code, int32_t quantity, float price, float priceOffset) {
    if (GridOrderExecutor* inUse = gridInUse()) return inUse->sell(code, quantity, price, priceOffset);
    // A quantity read as zero or below must never reach the client's form ("-100").
    if (quantity <= 0) return kIncompleteData;
    lastError = 0;
    if (!throttleElapsed(lastSellTick)) {
        lastError = kIncompleteData;
        return kIncompleteData;
    }
    std::optional<std::wstring> priceText;
    if (price != 0) priceText = formatPrice(static_cast<double>(price) - static_cast<double>(priceOffset));
    const int32_t submitted = submitOrder(sellForm(), code, priceText, formatQuantity(quantity));
    if (submitted != kResultDone) {
        lastError = submitted;
        return 0;
    }
    lastSellTick = GetTickCount();
    return 1;
}

int32_t ZsZqOrderExecutor::buy(const wchar_t* code, int32_t quantity, float price, float priceOffset) {
    if (GridOrderExecutor* inUse = gridInUse()) return inUse->buy(code, quantity, price, priceOffset);
    if (quantity <= 0) return kIncompleteData;
    lastError = 0;
    if (!throttleElapsed(lastBuyTick)) {
        lastError = kIncompleteData;
        return kIncompleteData;
    }
    if (!isConnected()) connect();
    if (!isConnected()) {
        lastError = kClientNotRunning;
        return kClientNotRunning;
    }
    std::optional<std::wstring> priceText;
    if (price != 0) priceText = formatPrice(static_cast<double>(price) + static_cast<double>(priceOffset));
    const int32_t submitted = submitOrder(buyForm(), code, priceText, formatQuantity(quantity));
    if (submitted != kResultDone) {
        lastError = submitted;
        return 0;
    }
    lastBuyTick = GetTickCount();
    return 1;
}

int ZsZqOrderExecutor::findOrder(const PositionRows& rows, const std::wstring& code, int32_t direction) {
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].code == code && rows[i].direction == direction) return static_cast<int>(i);
    return -1;
}

int ZsZqOrderExecutor::countOrders(const PositionRows& rows, const std::wstring& code, int32_t direction) {
    return static_cast<int>(std::count_if(rows.begin(), rows.end(), [&](const PositionRow& row) {
        return row.code == code && row.direction == direction;
    }));
}

bool ZsZqOrderExecutor::cancelShown(const std::wstring& code, int32_t direction, int ordersBefore) {
    // The client may take a moment to take the order off its list; a read that fails proves nothing.
    for (int check = 0; check < kCancelChecks; ++check) {
        const BrokerConfig* config = BrokerConfigStore::instance()->current;
        if (!config) break;
        if (check > 0) Sleep(kCancelCheckPauseMs);
        if (readOrdersNow(*config) &&
            countOrders(PositionSnapshotStore::instance()->copyOrderRows(), code, direction) < ordersBefore)
            return true;
    }
    lastError = kCancelNotConfirmed;
    return false;
}

float ZsZqOrderExecutor::pendingOrderQuantity(const wchar_t* code, int32_t direction) {
    if (GridOrderExecutor* inUse = gridInUse()) return inUse->pendingOrderQuantity(code, direction);
    if (!isConnected()) connect();
    refreshOrders();
    PositionRows rows = PositionSnapshotStore::instance()->copyOrderRows();
    int found = findOrder(rows, code ? code : L"", direction);
    return found < 0 ? 0 : static_cast<float>(rows[static_cast<size_t>(found)].quantity);
}

bool ZsZqOrderExecutor::liveOrderMatches(int row, const std::wstring& code, int32_t direction) {
    const BrokerConfig* config = BrokerConfigStore::instance()->current;
    if (!config) return false;
    std::optional<PositionRow> live = readOrderRowAt(ordersList, *config, row);
    return live && live->code == code && live->direction == direction;
}

bool ZsZqOrderExecutor::cancelOrder(const wchar_t* code, int32_t direction) {
    if (GridOrderExecutor* inUse = gridInUse()) return inUse->cancelOrder(code, direction);
    if (!isConnected()) connect();
    // Without an orders list or a cancel button nothing can be cancelled, and saying otherwise
    // would let 追单 sell again on top of the order.
    if (!ordersList || !IsWindow(ordersList) || !IsWindow(cancelButton)) {
        lastError = kCancelButtonNotPressed;
        return false;
    }
    refreshOrders();
    const std::wstring wanted = code ? code : L"";
    int row = findOrder(PositionSnapshotStore::instance()->copyOrderRows(), wanted, direction);
    if (row < 0) return false;
    // The list may have been scrolled, re-sorted or changed since it was read: the row must
    // still hold this order, else the list is read once more.
    if (!liveOrderMatches(row, wanted, direction)) {
        const BrokerConfig* config = BrokerConfigStore::instance()->current;
        if (!config) return false;
        readOrdersNow(*config);
        row = findOrder(PositionSnapshotStore::instance()->copyOrderRows(), wanted, direction);
        if (row < 0 || !liveOrderMatches(row, wanted, direction)) return false;
    }
    RemoteList list(ordersList);
    std::optional<RECT> rect = list.itemRect(row, true);
    if (!rect || rect->bottom <= rect->top) return false;
    const LONG x = std::min(std::max(rect->left, 0L) + kRowClickInsetX, rect->right - 1);
    const LONG y = (rect->top + rect->bottom) / 2;
    if (x < 0 || y < 0) return false;
    const LPARAM point = MAKELPARAM(x, y);
    PostMessageW(ordersList, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(ordersList, WM_LBUTTONUP, MK_LBUTTON, point);
    Sleep(kAfterRowClickMs);
    // Press cancel only when the client really selected that order; a busy client may take a
    // little longer over the posted click.
    std::optional<int> selected = list.firstSelectedItem();
    for (int retry = 0; retry < kSelectionRetries && selected && *selected != row; ++retry) {
        Sleep(kSelectionRetryMs);
        selected = list.firstSelectedItem();
    }
    if (!selected || *selected != row || !liveOrderMatches(row, wanted, direction)) return false;
    const int ordersBefore =
        countOrders(PositionSnapshotStore::instance()->copyOrderRows(), wanted, direction);
    sweepScope->ownPressStarted();
    if (!clickToolbarButton(ButtonSlot::CancelSecond)) {
        lastError = kCancelButtonNotPressed;
        return false;
    }
    Sleep(kAfterCancelButtonMs);
    sweepConfirmDialogs();
    Sleep(kBetweenCancelSweepsMs);
    sweepConfirmDialogs();
    // Done only when the client no longer lists the order: a click is no cancel.
    return cancelShown(wanted, direction, ordersBefore);
}

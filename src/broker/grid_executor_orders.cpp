#include "broker/client_popups.h"
#include "broker/grid_order_executor.h"
#include "broker/grid_order_form.h"
#include "broker/grid_popups.h"
#include "broker/number_text.h"
#include "broker/result_codes.h"
#include "brokerconfig/broker_config_store.h"

namespace {

// Sales and buys are spaced as the list-view executor spaces them.
constexpr DWORD kOrderSpacingMs = 3000;
constexpr DWORD kPopupWaitMs = 5000;
// A confirmation that stayed open is pressed again each cycle; it is not waited on for long.
constexpr DWORD kAgainWaitMs = 1000;
const wchar_t* const kConfirmationPending = L"上一笔委托还在确认中, 没有再下单";

std::wstring formOutcomeText(FormOutcome outcome) {
    switch (outcome) {
        case FormOutcome::Busy:
            return L"投资者正在券商软件的下单页面输入, 没有下单";
        case FormOutcome::Missing:
            return L"券商软件的下单页面缺少代码、价格、数量或下单按钮";
        case FormOutcome::NotAnswering:
            return L"券商软件没有响应";
        case FormOutcome::NoQuote:
            return L"券商软件没有给出这只股票的价格, 没有下单";
        default:
            return L"券商软件的下单页面没有保留写入的代码、价格和数量, 没有下单";
    }
}

int32_t formOutcomeCode(FormOutcome outcome, GridPage page) {
    switch (outcome) {
        case FormOutcome::Missing:
            return page == GridPage::Sell ? kSellCodeEditNotFound : kBuyCodeEditNotFound;
        case FormOutcome::NotAnswering:
            return kClientNotAnswering;
        case FormOutcome::Mismatch:
            return kPriceNotKept;
        default:
            return kOrderButtonNotPressed;
    }
}

}  // namespace

int32_t GridOrderExecutor::sell(const wchar_t* code, int32_t quantity, float price, float priceOffset) {
    // A quantity read as zero or below must never reach the client's form.
    if (quantity <= 0) return kIncompleteData;
    std::lock_guard<std::mutex> hold(lock_);
    OrderTexts order{code ? code : L"", {}, formatQuantity(quantity)};
    if (price != 0) order.price = formatPrice(static_cast<double>(price) - static_cast<double>(priceOffset));
    return placeOrder(GridPage::Sell, L"卖出", order);
}

int32_t GridOrderExecutor::buy(const wchar_t* code, int32_t quantity, float price, float priceOffset) {
    if (quantity <= 0) return kIncompleteData;
    std::lock_guard<std::mutex> hold(lock_);
    OrderTexts order{code ? code : L"", {}, formatQuantity(quantity)};
    if (price != 0) order.price = formatPrice(static_cast<double>(price) + static_cast<double>(priceOffset));
    return placeOrder(GridPage::Buy, L"买入", order);
}

int32_t GridOrderExecutor::placeOrder(GridPage page, const wchar_t* side, const OrderTexts& order) {
    // An order still in its confirmation, or answered just now: the next cycle decides on fresh
    // copies, so the same shares never go in twice.
    if (ownConfirmation_) {
        settleOwnConfirmation();
        return fail(kIncompleteData, kConfirmationPending);
    }
    DWORD& lastOrderTick = page == GridPage::Sell ? lastSellTick_ : lastBuyTick_;
    if (GetTickCount() - lastOrderTick < kOrderSpacingMs) return fail(kIncompleteData);
    const BrokerConfig* config = BrokerConfigStore::instance()->current;
    if (!config || config->family != ClientFamily::Grid || !connectedNow()) return fail(kClientNotRunning);
    HWND form = showPage(page);
    if (!form) return fail(page == GridPage::Sell ? kSellPanelNotFound : kBuyPanelNotFound);
    GridOrderForm filled(form, formIdsOf(config->grid));
    const FormOutcome outcome = filled.fill(order.code, order.price, order.quantity);
    if (outcome != FormOutcome::Ready) {
        fail(formOutcomeCode(outcome, page), formOutcomeText(outcome));
        return 0;
    }
    const ButtonPress pressed = filled.press();
    if (pressed == ButtonPress::NotReached) {
        fail(kOrderButtonNotPressed);
        return 0;
    }
    lastOrderTick = GetTickCount();
    // Whatever the client answers, its positions and orders are read afresh.
    positionsDue_ = ordersDue_ = true;
    return answerOrder(side, order);
}

// The confirmation of Halyard's own press is answered, then the notice read: done only with a
// contract number, refused with the client's reason.
int32_t GridOrderExecutor::answerOrder(const wchar_t* side, const OrderTexts& order) {
    ownOrderHead_ = side + (L" " + order.code + L" " + order.quantity + L"股 价格 ") +
                    (order.price.empty() ? L"最新价" : order.price);
    return reportAnswer(confirmOrder(processId_, kPopupWaitMs));
}

int32_t GridOrderExecutor::reportAnswer(const OrderAnswer& answer) {
    ownConfirmation_ = answer.confirmation;
    if (answer.confirmation) {
        addNotice(ownOrderHead_ + L": 委托确认没有关闭, 委托未确认; 下一轮再按确认");
        fail(kClientNotAnswering);
        return 0;
    }
    if (!answer.notice) {
        addNotice(ownOrderHead_ + L": 券商软件没有显示委托结果, 委托未确认");
        fail(kClientNotAnswering);
        return 0;
    }
    const ClientPopup popup = readClientPopup(L"提示", *answer.notice);
    if (popup.kind == ClientPopupKind::OrderSubmitted) {
        addNotice(ownOrderHead_ + L" 已提交, 合同编号 " + popup.contractNumber);
        lastError_ = 1;
        errorText_.clear();
        return 1;
    }
    addNotice(ownOrderHead_ + L" 被券商拒绝: " + popup.reason);
    return fail(kOrderRefused, L"券商拒绝了委托: " + popup.reason);
}

bool GridOrderExecutor::ownOrderAwaitingConfirmation() {
    return isPopupOf(ownConfirmation_, processId_, L"委托确认");
}

void GridOrderExecutor::settleOwnConfirmation() {
    if (!ownConfirmation_) return;
    if (ownOrderAwaitingConfirmation()) {
        const OrderAnswer answer = confirmAgain(processId_, ownConfirmation_, kAgainWaitMs);
        // Still held: the journal said so when the order was placed, and the client's lists
        // cannot have changed yet (no copy: each brings the captcha nearer).
        if (answer.confirmation) return;
        reportAnswer(answer);
    }
    ownConfirmation_ = nullptr;
    positionsDue_ = ordersDue_ = true;
}

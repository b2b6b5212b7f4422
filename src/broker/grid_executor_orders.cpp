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
    if (GetTickCount() - lastSellTick_ < kOrderSpacingMs) return fail(kIncompleteData);
    OrderTexts order{code ? code : L"", {}, formatQuantity(quantity)};
    if (price != 0) order.price = formatPrice(static_cast<double>(price) - static_cast<double>(priceOffset));
    return placeOrder(GridPage::Sell, L"卖出", order);
}

int32_t GridOrderExecutor::buy(const wchar_t* code, int32_t quantity, float price, float priceOffset) {
    if (quantity <= 0) return kIncompleteData;
    std::lock_guard<std::mutex> hold(lock_);
    if (GetTickCount() - lastBuyTick_ < kOrderSpacingMs) return fail(kIncompleteData);
    OrderTexts order{code ? code : L"", {}, formatQuantity(quantity)};
    if (price != 0) order.price = formatPrice(static_cast<double>(price) + static_cast<double>(priceOffset));
    return placeOrder(GridPage::Buy, L"买入", order);
}

int32_t GridOrderExecutor::placeOrder(GridPage page, const wchar_t* side, const OrderTexts& order) {
    if (!connectedNow()) return fail(kClientNotRunning);
    HWND form = showPage(page);
    if (!form) return fail(page == GridPage::Sell ? kSellPanelNotFound : kBuyPanelNotFound);
    GridOrderForm filled(form);
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
    (page == GridPage::Sell ? lastSellTick_ : lastBuyTick_) = GetTickCount();
    // Whatever the client answers, its positions and orders are read afresh.
    positionsDue_ = ordersDue_ = true;
    return answerOrder(side, order);
}

// The confirmation of Halyard's own press is answered, then the notice read: done only with a
// contract number, refused with the client's reason.
int32_t GridOrderExecutor::answerOrder(const wchar_t* side, const OrderTexts& order) {
    const std::wstring head = side + (L" " + order.code + L" " + order.quantity + L"股 价格 ") +
                              (order.price.empty() ? L"最新价" : order.price);
    const std::optional<std::wstring> notice = confirmOrder(processId_, kPopupWaitMs);
    if (!notice) {
        addNotice(head + L": 券商软件没有显示委托结果, 委托未确认");
        fail(kClientNotAnswering);
        return 0;
    }
    const ClientPopup popup = readClientPopup(L"提示", *notice);
    switch (popup.kind) {
        case ClientPopupKind::OrderSubmitted:
            addNotice(head + L" 已提交, 合同编号 " + popup.contractNumber);
            lastError_ = 1;
            errorText_.clear();
            return 1;
        case ClientPopupKind::OrderRefused:
            addNotice(head + L" 被券商拒绝: " + popup.reason);
            return fail(kOrderRefused, L"券商拒绝了委托: " + popup.reason);
        default:
            addNotice(head + L": 券商软件的回答没有合同编号, 委托未确认: " + *notice);
            fail(kOrderButtonNotPressed);
            return 0;
    }
}

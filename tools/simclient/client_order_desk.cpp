#include "simclient/client_app.h"

#include "common/c_format.h"
#include "simclient/column_cells.h"
#include "simclient/grid_text.h"
#include "simclient/order_check.h"

namespace halyard::simclient {
namespace {

const wchar_t* sideWord(Side side) {
    return side == Side::Buy ? L"buy" : L"sell";
}

}  // namespace

void ClientApp::submitOrder(Side side, const std::wstring& code, const std::wstring& price,
                            const std::wstring& quantity) {
    journal(JournalLine("order_submitted")
                .text("side", sideWord(side))
                .text("code", code)
                .text("price", price)
                .text("quantity", quantity));
    const OrderCheck check = checkOrder(market_, loggedIn_, side, code, price, quantity);
    if (!check.accepted) {
        refuse(side, code, price, quantity, check);
        return;
    }
    const Stock* stock = market_.stock(check.code);
    const std::wstring text = std::wstring(L"操作: ") + sideText(side) + L"\n证券: " + check.code + L" " +
                              (stock ? stock->name : L"") + L"\n价格: " + wcformat("%.2f", check.price) +
                              L"    数量: " + wcformat("%lld", static_cast<long long>(check.quantity)) +
                              L" 股\n\n是否提交该委托?";
    const DeskWords& words = deskWords(options_.family);
    const std::wstring yes = words.yes;
    showPopup(words.orderConfirmTitle, text, {words.yes, words.no},
              [this, side, code, price, quantity, yes](const std::wstring& button) {
                  if (button == yes) placeConfirmed(side, code, price, quantity);
              });
    afterConfirmationShown();
}

void ClientApp::refuse(Side side, const std::wstring& code, const std::wstring& price,
                       const std::wstring& quantity, const OrderCheck& check) {
    journal(JournalLine("order_refused")
                .text("side", sideWord(side))
                .text("code", code)
                .text("price", price)
                .text("quantity", quantity)
                .text("reason", widenAscii(check.reason)));
    notice(refusalNotice(options_.family, check));
}

void ClientApp::placeConfirmed(Side side, const std::wstring& code, const std::wstring& price,
                               const std::wstring& quantity) {
    // The market may have moved while the confirmation was open.
    const OrderCheck check = checkOrder(market_, loggedIn_, side, code, price, quantity);
    if (!check.accepted) {
        refuse(side, code, price, quantity, check);
        return;
    }
    const int id = market_.place(side, check.code, check.price, check.quantity, now());
    journal(JournalLine("order_accepted")
                .number("id", id)
                .text("side", sideWord(side))
                .text("code", check.code)
                .decimal("price", check.price)
                .number("quantity", check.quantity));
    refreshPages();
    notice(acceptedNotice(options_.family, side, id));
    afterOrderPlaced();
}

void ClientApp::requestCancel(std::optional<int> orderId) {
    const Order* order = orderId ? market_.pendingOrder(*orderId) : nullptr;
    if (!order) {
        notice(L"请先选择要撤销的委托");
        return;
    }
    const Stock* stock = market_.stock(order->code);
    const std::wstring text = L"确认撤单?\n\n" + order->code + L" " + (stock ? stock->name : L"") + L"  " +
                              sideText(order->side) + L" " +
                              wcformat("%lld", static_cast<long long>(order->quantity)) + L" 股  价格 " +
                              wcformat("%.2f", order->price) + L"\n合同编号: " + std::to_wstring(order->id);
    const int id = order->id;
    const DeskWords& words = deskWords(options_.family);
    const std::wstring yes = words.yes;
    showPopup(words.cancelConfirmTitle, text, {words.yes, words.no},
              [this, id, yes](const std::wstring& button) {
                  if (button == yes) cancelConfirmed(id);
              });
}

void ClientApp::cancelConfirmed(int orderId) {
    if (refusedCancels_ > 0) {
        --refusedCancels_;
        notice(L"该委托当前不允许撤单");
        return;
    }
    const auto cancelled = market_.cancel(orderId);
    if (!cancelled) {
        notice(L"该委托已成交或已撤销");
        return;
    }
    journalCancelled(*cancelled);
    refreshPages();
    notice(L"撤单已提交");
}

void ClientApp::requestCancelAll() {
    if (market_.pendingOrders().empty()) {
        notice(L"没有可撤销的委托");
        return;
    }
    const DeskWords& words = deskWords(options_.family);
    const std::wstring yes = words.yes;
    showPopup(words.cancelConfirmTitle, L"确认撤销全部未成交委托?", {words.yes, words.no},
              [this, yes](const std::wstring& button) {
                  if (button != yes) return;
                  std::vector<int> ids;
                  for (const auto& o : market_.pendingOrders()) ids.push_back(o.id);
                  for (int id : ids)
                      if (auto o = market_.cancel(id)) journalCancelled(*o);
                  refreshPages();
                  notice(L"撤单已提交");
              });
}

void ClientApp::journalTrades(const std::vector<Trade>& trades) {
    for (const auto& t : trades)
        journal(JournalLine("order_filled")
                    .number("id", t.orderId)
                    .text("code", t.code)
                    .decimal("price", t.price)
                    .number("quantity", t.quantity));
}

void ClientApp::journalCancelled(const Order& order) {
    journal(JournalLine("order_cancelled").number("id", order.id).text("code", order.code));
}

}  // namespace halyard::simclient

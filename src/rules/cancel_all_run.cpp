#include "rules/cancel_all_run.h"

#include "broker/client_contact.h"
#include "broker/order_direction.h"
#include "broker/order_executor.h"
#include "common/c_format.h"
#include "rules/trade_journal.h"

namespace {

std::wstring orderText(const OrderRow& order) {
    return order.code + L" " + order.name + L" " + halyard::wcformat("%d", order.quantity) + L"股";
}

std::wstring listed(const std::vector<std::wstring>& orders) {
    std::wstring text;
    for (const std::wstring& order : orders) text += L"\n" + order;
    return text;
}

}  // namespace

CancelAllRun::CancelAllRun(PositionSnapshotStore& store, TradeJournal* journal, ClientContact* contact)
    : store_(store), read_(store.ordersGeneration()), journal_(journal), contact_(contact) {}

bool CancelAllRun::readOrders(OrderExecutor& executor) {
    // The executor reads the orders list for this question, unless it read it a moment ago.
    executor.pendingOrderQuantity(L"", kSellDirection);
    if (read_.done(store_.ordersGeneration())) {
        rowsTaken_ = true;
        for (const OrderRow& order : store_.copyOrderRows())
            if (order.direction == kSellDirection) toCancel_.push_back(order);
        return !finished();
    }
    if (read_.keepWaiting()) return true;
    rowsTaken_ = true;
    notRead_ = true;
    if (journal_) journal_->note(L"全撤: 读不到委托列表, 没有撤单");
    return false;
}

bool CancelAllRun::step(OrderExecutor& executor) {
    if (!rowsTaken_) return readOrders(executor);
    if (finished()) return false;
    const OrderRow& order = toCancel_[next_++];
    const bool cancelled = executor.cancelOrder(order.code.c_str(), kSellDirection);
    (cancelled ? cancelled_ : notCancelled_).push_back(orderText(order));
    if (journal_) {
        journal_->cancellation(order.code, order.name, order.quantity, cancelled);
        if (contact_)
            for (const std::wstring& notice : contact_->takeClientNotices()) journal_->note(notice);
    }
    return !finished();
}

std::wstring CancelAllRun::statusText() const {
    if (!rowsTaken_) return L"全撤: 正在读取委托 ...";
    if (finished()) return L"全撤: 已结束";
    return L"全撤: " +
           halyard::wcformat("%d/%d", static_cast<int>(next_ + 1), static_cast<int>(toCancel_.size())) +
           L" 正在撤销 " + orderText(toCancel_[next_]) + L" ...";
}

std::wstring CancelAllRun::summaryText() const {
    if (notRead_) return L"全撤: 读不到券商软件的委托列表, 没有撤单";
    if (toCancel_.empty()) return L"全撤: 没有未成交的卖单";
    std::wstring text = L"全撤结束: " + halyard::wcformat("%d", static_cast<int>(cancelled_.size())) +
                        L" 笔已撤, " + halyard::wcformat("%d", static_cast<int>(notCancelled_.size())) +
                        L" 笔没有撤销";
    if (!cancelled_.empty()) text += L"\n\n已撤:" + listed(cancelled_);
    if (!notCancelled_.empty()) text += L"\n\n没有撤销 (请在券商软件中查看):" + listed(notCancelled_);
    return text;
}

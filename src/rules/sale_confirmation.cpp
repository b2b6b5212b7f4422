// Whether a submitted sale reached the client: a positions read after it must show the sellable
// quantity reduced by the order (or the stock gone), or an orders read must show the order.
// Three positions reads without either: 未确认, and one more alert, since the first one said the
// stock was sold. Reads while the client still shows the order's confirmation do not count
// (for a minute). A stock missing from a read of 0 rows or one cut short confirms nothing.
// A sale that ended 未确认 or that the client refused leaves a mark: the next sale of that stock
// the same day goes at the latest price (at the limit-down price the exchange takes nothing
// lower).
#include <algorithm>

#include "broker/client_contact.h"
#include "broker/order_direction.h"
#include "broker/position_snapshot_store.h"
#include "common/c_format.h"
#include "rules/monitor_cycle.h"
#include "rules/trade_journal.h"

namespace {

bool ordersShow(const PositionRows& orders, const std::wstring& code, int32_t quantity) {
    for (const PositionRow& order : orders)
        if (order.code == code && order.direction == kSellDirection && order.quantity == quantity)
            return true;
    return false;
}

// What brokers' notices say when they refuse an order ("委托价格超出涨跌停限制", "可用数量不足",
// "委托失败"); an acceptance says "已提交" or "成功".
constexpr const wchar_t* kRefusalWords[] = {L"失败", L"超出", L"无效", L"不足",   L"拒绝",
                                            L"废单", L"错误", L"不能", L"不允许", L"禁止"};
constexpr const wchar_t* kAcceptanceWords[] = {L"已提交", L"成功"};

bool contains(const std::wstring& text, const wchar_t* word) {
    return text.find(word) != std::wstring::npos;
}

}  // namespace

bool noticeRefusesOrder(const std::wstring& notice) {
    auto in = [&](const wchar_t* word) { return contains(notice, word); };
    return std::none_of(std::begin(kAcceptanceWords), std::end(kAcceptanceWords), in) &&
           std::any_of(std::begin(kRefusalWords), std::end(kRefusalWords), in);
}

int MonitorCycle::today() {
    const std::tm now = environment_.localTime();
    return (now.tm_year + 1900) * 10000 + (now.tm_mon + 1) * 100 + now.tm_mday;
}

void MonitorCycle::markNoSlip(const std::wstring& code, const std::wstring& reason) {
    state_.noSlipSales[code] = NoSlipMark{today(), reason};
}

std::optional<std::wstring> MonitorCycle::noSlipReason(const std::wstring& code) {
    auto found = state_.noSlipSales.find(code);
    if (found == state_.noSlipSales.end()) return std::nullopt;
    if (found->second.day == today()) return found->second.reason;
    state_.noSlipSales.erase(found);  // a mark of an earlier day
    return std::nullopt;
}

void MonitorCycle::noteSale(const PositionRow& row, int32_t sellableBefore) {
    PendingSale sale;
    sale.name = row.name;
    sale.sellableBefore = sellableBefore;
    sale.quantity = row.sellableQuantity;
    sale.heldBefore = row.quantity;
    sale.positionsGeneration = store_.positionsGeneration();
    sale.ordersGeneration = store_.ordersGeneration();
    state_.pendingSales[row.code] = sale;
}

bool MonitorCycle::afterRead(const PositionRows& rows) {
    const uint64_t generation = store_.positionsGeneration();
    if (generation == state_.positionsGeneration) return false;
    state_.positionsGeneration = generation;
    state_.hasRead = true;
    state_.lastRead = environment_.localTime();
    environment_.contactChanged(status(ContactStatus::Kind::Connected));
    checkPendingSales(rows);
    return true;
}

void MonitorCycle::checkPendingSales(const PositionRows& rows) {
    if (state_.pendingSales.empty()) return;
    PositionsByCode held;
    for (const PositionRow& row : rows) held.emplace(row.code, row);
    const PositionRows orders = store_.copyOrderRows();
    const uint64_t ordersGeneration = store_.ordersGeneration();
    const bool confirmationOpen = contact_ && contact_->ownOrderAwaitingConfirmation();
    const bool showsEveryRow = !rows.empty() && store_.positionsComplete();
    const uint32_t now = environment_.tickMs();
    for (auto it = state_.pendingSales.begin(); it != state_.pendingSales.end();) {
        const std::wstring& code = it->first;
        PendingSale& sale = it->second;
        if (store_.positionsGeneration() <= sale.positionsGeneration) {
            ++it;
            continue;
        }
        auto found = held.find(code);
        const bool reduced = found == held.end()
                                 ? showsEveryRow
                                 : found->second.sellableQuantity <= sale.sellableBefore - sale.quantity;
        const bool ordered =
            ordersGeneration > sale.ordersGeneration && ordersShow(orders, code, sale.quantity);
        const std::wstring head =
            L"卖出确认 " + code + L" " + sale.name + L" 数量 " + halyard::wcformat("%d", sale.quantity);
        if (reduced || ordered) {
            note(head + L" 已确认");
            environment_.monitorEvent(MonitorEvent::SaleConfirmed);
            if (sale.heldBefore > 0 && sale.quantity >= sale.heldBefore)
                state_.sightings[code].soldWhole = true;
            it = state_.pendingSales.erase(it);
        } else if (confirmationOpen && (!sale.held || now - sale.heldSinceMs < kConfirmationHoldMs)) {
            if (!sale.held) {
                sale.held = true;
                sale.heldSinceMs = now;
                note(head + L" 等待中: 券商软件的交易确认还开着");
            }
            ++it;
        } else if (--sale.readsLeft <= 0) {
            note(head + L" 未确认 (三次读取都没有看到这笔卖出)");
            environment_.monitorEvent(MonitorEvent::SaleUnconfirmed);
            markNoSlip(code, L"上次卖出未确认");
            environment_.raiseMessageAlert(saleNotSeenText(sale.name, environment_.localTime()));
            it = state_.pendingSales.erase(it);
        } else {
            ++it;
        }
    }
}

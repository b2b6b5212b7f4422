// Whether a submitted sale reached the client: a positions read after it must show the sellable
// quantity reduced by the order (or the stock gone), or an orders read must show the order.
// Three positions reads without either: 未确认.
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

}  // namespace

void MonitorCycle::noteSale(const PositionRow& row) {
    PendingSale sale;
    sale.name = row.name;
    sale.sellableBefore = row.sellableQuantity;
    sale.quantity = row.sellableQuantity;
    sale.positionsGeneration = store_.positionsGeneration();
    sale.ordersGeneration = store_.ordersGeneration();
    state_.pendingSales[row.code] = sale;
}

void MonitorCycle::afterRead(const PositionRows& rows) {
    const uint64_t generation = store_.positionsGeneration();
    if (generation == state_.positionsGeneration) return;
    state_.positionsGeneration = generation;
    state_.hasRead = true;
    state_.lastRead = environment_.localTime();
    environment_.contactChanged(status(ContactStatus::Kind::Connected));
    checkPendingSales(rows);
}

void MonitorCycle::checkPendingSales(const PositionRows& rows) {
    if (state_.pendingSales.empty()) return;
    PositionsByCode held;
    for (const PositionRow& row : rows) held.emplace(row.code, row);
    const PositionRows orders = store_.copyOrderRows();
    const uint64_t ordersGeneration = store_.ordersGeneration();
    for (auto it = state_.pendingSales.begin(); it != state_.pendingSales.end();) {
        const std::wstring& code = it->first;
        PendingSale& sale = it->second;
        if (store_.positionsGeneration() <= sale.positionsGeneration) {
            ++it;
            continue;
        }
        auto found = held.find(code);
        const bool reduced =
            found == held.end() || found->second.sellableQuantity <= sale.sellableBefore - sale.quantity;
        const bool ordered =
            ordersGeneration > sale.ordersGeneration && ordersShow(orders, code, sale.quantity);
        const std::wstring head =
            L"卖出确认 " + code + L" " + sale.name + L" 数量 " + halyard::wcformat("%d", sale.quantity);
        if (reduced || ordered) {
            note(head + L" 已确认");
            environment_.monitorEvent(MonitorEvent::SaleConfirmed);
            it = state_.pendingSales.erase(it);
        } else if (--sale.readsLeft <= 0) {
            note(head + L" 未确认 (三次读取都没有看到这笔卖出)");
            environment_.monitorEvent(MonitorEvent::SaleUnconfirmed);
            it = state_.pendingSales.erase(it);
        } else {
            ++it;
        }
    }
}

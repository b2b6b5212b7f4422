#include "broker/broker_tables.h"

#include "broker/window_toolkit.h"
#include "broker/zszq_order_executor.h"
#include "brokerconfig/broker_config_store.h"

namespace {

constexpr DWORD kPageSwitchMs = 500;
constexpr DWORD kCancelPageExtraMs = 100;
constexpr DWORD kCancelButtonMs = 100;
constexpr uint32_t kTimerSlackMs = 250;

}  // namespace

bool ZsZqOrderExecutor::clickToolbarButton(ButtonSlot slot) {
    const BrokerConfig* config = BrokerConfigStore::instance()->current;
    if (!config) return false;
    std::optional<ButtonPosition> position = config->buttonPosition(slot);
    HWND target = slot == ButtonSlot::CancelSecond ? cancelButton : toolbarWindow;
    // Only 16 bits each reach the client; a point outside them is not clicked.
    if (!position || !target || position->x < 0 || position->x > 0xFFFF || position->y < 0 ||
        position->y > 0xFFFF || !IsWindow(target))
        return false;
    const LPARAM point = MAKELPARAM(position->x, position->y);
    PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(target, WM_LBUTTONUP, MK_LBUTTON, point);
    switch (slot) {
        case ButtonSlot::CancelSecond:
            Sleep(kCancelButtonMs);
            break;
        case ButtonSlot::Cancel:
            Sleep(kPageSwitchMs);
            Sleep(kCancelPageExtraMs);
            sweepConfirmDialogs();
            break;
        default:
            Sleep(kPageSwitchMs);
            break;
    }
    return true;
}

void ZsZqOrderExecutor::refreshPositions() {
    if (GridOrderExecutor* inUse = gridInUse()) return inUse->refreshPositions();
    const BrokerConfig* config = BrokerConfigStore::instance()->current;
    if (!config) {
        readFailure = ReadFailure::NoConfiguration;
        return;
    }
    // Spaced from the start of the previous read, with the slack of a timer tick: a monitor
    // interval of 3 s must read at every cycle, not at every other one.
    if (!throttleElapsed(lastPositionsRefresh, kTimerSlackMs)) return;
    // A list that is no longer a window holds no table: the last good snapshot stays.
    if (!IsWindow(positionsList)) {
        readFailure = ReadFailure::ListGone;
        return;
    }
    const uint32_t started = GetTickCount();
    Sleep(0);
    sweepConfirmDialogs();
    clickToolbarButton(ButtonSlot::Positions);
    TableReadNotes notes;
    const TableRead read = readPositions(positionsList, *config, &notes);
    noteLeftBehind(notes.leftBehindBytes);
    if (read == TableRead::NotATable) {
        const bool hung = clientMainWindow && IsHungAppWindow(clientMainWindow);
        readFailure = hung ? ReadFailure::Hung : ReadFailure::NoAnswer;
        return;
    }
    readFailure = ReadFailure::None;
    noteCutRead(read, L"持仓");
    lastPositionsRefresh = started;
}

std::wstring ZsZqOrderExecutor::positionsReadFailure() {
    if (GridOrderExecutor* inUse = gridInUse()) return inUse->positionsReadFailure();
    switch (readFailure.load()) {
        case ReadFailure::None:
            return {};
        case ReadFailure::NoConfiguration:
            return L"没有选定券商配置, 无法读取持仓";
        case ReadFailure::ListGone:
            return L"券商软件的持仓列表已关闭";
        case ReadFailure::Hung:
            return L"券商软件未响应, 持仓列表读取失败";
        default:
            return L"持仓列表读取失败 (券商软件没有及时回答或拒绝读取其内存)";
    }
}

void ZsZqOrderExecutor::noteCutRead(TableRead read, const wchar_t* list) {
    // Once per cut: a list that stays too long is not reported again at every read.
    const bool cut = read == TableRead::Cut;
    if (cut && !lastReadCut)
        sweepScope->addNotice(std::wstring(list) + L"列表超过" + std::to_wstring(kMaxTableRows) +
                              L"行或读取超过" + std::to_wstring(kMaxTableReadMs / 1000) +
                              L"秒, 只读取了前面的行");
    lastReadCut = cut;
}

void ZsZqOrderExecutor::noteLeftBehind(size_t bytes) {
    // Once: a client that keeps timing out would otherwise fill the journal.
    if (bytes == 0 || leftBehindNoted) return;
    leftBehindNoted = true;
    sweepScope->addNotice(L"券商软件没有及时回答列表读取: 为免它稍后写入已释放的内存, 留在券商软件中的" +
                          std::to_wstring((bytes + 1023) / 1024) + L"KiB内存不再释放");
}

std::vector<std::wstring> ZsZqOrderExecutor::takeClientNotices() {
    if (GridOrderExecutor* inUse = gridInUse()) return inUse->takeClientNotices();
    return sweepScope->takeNotices();
}

void ZsZqOrderExecutor::refreshOrders() {
    const BrokerConfig* config = BrokerConfigStore::instance()->current;
    if (!config || !IsWindow(ordersList) || !throttleElapsed(lastOrdersRefresh)) return;
    Sleep(0);
    sweepConfirmDialogs();
    clickToolbarButton(ButtonSlot::Cancel);
    readOrdersNow(*config);
}

bool ZsZqOrderExecutor::readOrdersNow(const BrokerConfig& config) {
    TableReadNotes notes;
    const TableRead read = readOrders(ordersList, config, &notes);
    noteLeftBehind(notes.leftBehindBytes);
    if (read == TableRead::NotATable) return false;
    lastOrdersRefresh = GetTickCount();
    return true;
}

std::optional<PositionRow> ZsZqOrderExecutor::heldPosition(const wchar_t* code) {
    if (!isConnected()) connect();
    refreshPositions();
    PositionsByCode positions = PositionSnapshotStore::instance()->copyPositionsByCode();
    auto found = positions.find(code ? code : L"");
    if (found == positions.end()) return std::nullopt;
    return found->second;
}

float ZsZqOrderExecutor::positionCostPrice(const wchar_t* code) {
    if (GridOrderExecutor* inUse = gridInUse()) return inUse->positionCostPrice(code);
    std::optional<PositionRow> row = heldPosition(code);
    return row ? row->costPrice : 0;
}

float ZsZqOrderExecutor::positionProfitPercent(const wchar_t* code) {
    if (GridOrderExecutor* inUse = gridInUse()) return inUse->positionProfitPercent(code);
    std::optional<PositionRow> row = heldPosition(code);
    return row ? row->profitPercent : 0;
}

float ZsZqOrderExecutor::hasPosition(const wchar_t* code) {
    if (GridOrderExecutor* inUse = gridInUse()) return inUse->hasPosition(code);
    return heldPosition(code) ? 1 : 0;
}

float ZsZqOrderExecutor::positionQuantity(const wchar_t* code) {
    if (GridOrderExecutor* inUse = gridInUse()) return inUse->positionQuantity(code);
    std::optional<PositionRow> row = heldPosition(code);
    return row ? static_cast<float>(row->quantity) : 0;
}

float ZsZqOrderExecutor::positionMarketValue(const wchar_t* code) {
    if (GridOrderExecutor* inUse = gridInUse()) return inUse->positionMarketValue(code);
    std::optional<PositionRow> row = heldPosition(code);
    return row ? row->marketValue : 0;
}

float ZsZqOrderExecutor::positionSpareValue(const wchar_t* code) {
    if (GridOrderExecutor* inUse = gridInUse()) return inUse->positionSpareValue(code);
    std::optional<PositionRow> row = heldPosition(code);
    return row ? row->spareValue : 0;
}

float ZsZqOrderExecutor::positionSellableQuantity(const wchar_t* code) {
    if (GridOrderExecutor* inUse = gridInUse()) return inUse->positionSellableQuantity(code);
    std::optional<PositionRow> row = heldPosition(code);
    return row ? static_cast<float>(row->sellableQuantity) : 0;
}

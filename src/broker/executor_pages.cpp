#include "broker/remote_list_reader.h"
#include "broker/window_toolkit.h"
#include "broker/zszq_order_executor.h"
#include "brokerconfig/broker_config_store.h"

namespace {

constexpr DWORD kPageSwitchMs = 500;
constexpr DWORD kCancelPageExtraMs = 100;
constexpr DWORD kCancelButtonMs = 100;
constexpr DWORD kWorkerFirstPauseMs = 200;
constexpr DWORD kWorkerPauseMs = 2000;
constexpr DWORD kWorkerStopWaitMs = 4000;
constexpr uint32_t kTimerSlackMs = 250;

BOOL CALLBACK pressConfirmChild(HWND child, LPARAM) {
    if (windowText(child).find(L"确认") != std::wstring::npos) pressButtonTwice(child);
    return TRUE;
}

BOOL CALLBACK sweepStep(HWND window, LPARAM) {
    const std::wstring title = windowText(window);
    if (title.find(L"提示") == std::wstring::npos && title.find(L"交易确认") == std::wstring::npos)
        return TRUE;
    EnumChildWindows(window, pressConfirmChild, 0);
    return FALSE;
}

}  // namespace

void sweepConfirmDialogs() {
    EnumWindows(sweepStep, 0);
}

struct ConfirmSweepWorker::State {
    halyard::UniqueHandle stop{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

DWORD WINAPI ConfirmSweepWorker::run(LPVOID parameter) {
    // The thread owns a share of its state, so it may outlive the executor safely.
    std::unique_ptr<std::shared_ptr<State>> owned(static_cast<std::shared_ptr<State>*>(parameter));
    HANDLE stop = (*owned)->stop.get();
    while (WaitForSingleObject(stop, kWorkerFirstPauseMs) == WAIT_TIMEOUT) {
        sweepConfirmDialogs();
        if (WaitForSingleObject(stop, kWorkerPauseMs) != WAIT_TIMEOUT) break;
    }
    return 0;
}

ConfirmSweepWorker::ConfirmSweepWorker() : state(std::make_shared<State>()) {
    if (!state->stop) return;
    auto* share = new std::shared_ptr<State>(state);
    thread.reset(CreateThread(nullptr, 0, run, share, 0, nullptr));
    if (!thread) delete share;
}

ConfirmSweepWorker::~ConfirmSweepWorker() {
    if (!thread) return;
    SetEvent(state->stop.get());
    WaitForSingleObject(thread.get(), kWorkerStopWaitMs);
}

void ZsZqOrderExecutor::clickToolbarButton(ButtonSlot slot) {
    const BrokerConfig* config = BrokerConfigStore::instance()->current;
    if (!config) return;
    std::optional<ButtonPosition> position = config->buttonPosition(slot);
    HWND target = slot == ButtonSlot::CancelSecond ? cancelButton : toolbarWindow;
    // Only 16 bits each reach the client; a point outside them is not clicked.
    if (!position || !target || position->x < 0 || position->x > 0xFFFF || position->y < 0 ||
        position->y > 0xFFFF)
        return;
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
}

void ZsZqOrderExecutor::refreshPositions() {
    const BrokerConfig* config = BrokerConfigStore::instance()->current;
    // Spaced from the start of the previous read, with the slack of a timer tick: a monitor
    // interval of 3 s must read at every cycle, not at every other one.
    if (!config || !throttleElapsed(lastPositionsRefresh, kTimerSlackMs)) return;
    const uint32_t started = GetTickCount();
    Sleep(0);
    sweepConfirmDialogs();
    clickToolbarButton(ButtonSlot::Positions);
    readPositions(positionsList, *config);
    lastPositionsRefresh = started;
}

void ZsZqOrderExecutor::refreshOrders() {
    const BrokerConfig* config = BrokerConfigStore::instance()->current;
    if (!config || !ordersList || !throttleElapsed(lastOrdersRefresh)) return;
    Sleep(0);
    sweepConfirmDialogs();
    clickToolbarButton(ButtonSlot::Cancel);
    readOrdersNow(*config);
}

void ZsZqOrderExecutor::readOrdersNow(const BrokerConfig& config) {
    readOrders(ordersList, config);
    lastOrdersRefresh = GetTickCount();
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
    std::optional<PositionRow> row = heldPosition(code);
    return row ? row->costPrice : 0;
}

float ZsZqOrderExecutor::positionProfitPercent(const wchar_t* code) {
    std::optional<PositionRow> row = heldPosition(code);
    return row ? row->profitPercent : 0;
}

float ZsZqOrderExecutor::hasPosition(const wchar_t* code) {
    return heldPosition(code) ? 1 : 0;
}

float ZsZqOrderExecutor::positionQuantity(const wchar_t* code) {
    std::optional<PositionRow> row = heldPosition(code);
    return row ? static_cast<float>(row->quantity) : 0;
}

float ZsZqOrderExecutor::positionMarketValue(const wchar_t* code) {
    std::optional<PositionRow> row = heldPosition(code);
    return row ? row->marketValue : 0;
}

float ZsZqOrderExecutor::positionSpareValue(const wchar_t* code) {
    std::optional<PositionRow> row = heldPosition(code);
    return row ? row->spareValue : 0;
}

float ZsZqOrderExecutor::positionSellableQuantity(const wchar_t* code) {
    std::optional<PositionRow> row = heldPosition(code);
    return row ? static_cast<float>(row->sellableQuantity) : 0;
}

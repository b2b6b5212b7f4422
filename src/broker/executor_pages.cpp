#include "broker/broker_tables.h"

#include <utility>

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

constexpr DWORD kWorkerOwnOrderPauseMs = 200;

struct SweepWalk {
    SweepScope* scope;
    std::wstring text;  // the pop-up's own texts, buttons left out
};

BOOL CALLBACK readPopupText(HWND child, LPARAM param) {
    auto* walk = reinterpret_cast<SweepWalk*>(param);
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (wcscmp(className, L"Button") == 0) return TRUE;
    std::wstring text = windowText(child);
    for (wchar_t& c : text)
        if (c == L'\r' || c == L'\n') c = L' ';
    if (text.empty()) return TRUE;
    if (!walk->text.empty()) walk->text += L' ';
    walk->text += text;
    return TRUE;
}

BOOL CALLBACK pressConfirmChild(HWND child, LPARAM) {
    if (windowText(child).find(L"确认") != std::wstring::npos) pressButtonTwice(child);
    return TRUE;
}

bool confirmable(const SweepScope& scope, HWND window) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == 0 || owner != scope.process()) return false;
    const std::wstring title = windowText(window);
    if (title.find(L"提示") != std::wstring::npos) return true;
    return title.find(L"交易确认") != std::wstring::npos && scope.ownPressRecent();
}

BOOL CALLBACK sweepStep(HWND window, LPARAM param) {
    auto* walk = reinterpret_cast<SweepWalk*>(param);
    if (!confirmable(*walk->scope, window)) return TRUE;
    EnumChildWindows(window, readPopupText, param);
    EnumChildWindows(window, pressConfirmChild, 0);
    if (!walk->text.empty()) walk->scope->addNotice(L"券商提示: " + walk->text);
    return FALSE;
}

}  // namespace

void SweepScope::ownPressStarted() {
    ownPressTick_ = GetTickCount();
    ownPressed_ = true;
}

bool SweepScope::ownPressRecent() const {
    return ownPressed_ && static_cast<uint32_t>(GetTickCount() - ownPressTick_) < kOwnPressWindowMs;
}

void SweepScope::addNotice(std::wstring text) {
    std::lock_guard<std::mutex> hold(lock_);
    // A pop-up pressed by two sweeps at once is reported once.
    if (!notices_.empty() && notices_.back() == text) return;
    notices_.push_back(std::move(text));
}

std::vector<std::wstring> SweepScope::takeNotices() {
    std::lock_guard<std::mutex> hold(lock_);
    return std::exchange(notices_, {});
}

void sweepConfirmDialogs(SweepScope& scope) {
    if (scope.process() == 0) return;
    SweepWalk walk{&scope, {}};
    EnumWindows(sweepStep, reinterpret_cast<LPARAM>(&walk));
}

struct ConfirmSweepWorker::State {
    explicit State(std::shared_ptr<SweepScope> s) : scope(std::move(s)) {}
    std::shared_ptr<SweepScope> scope;
    halyard::UniqueHandle stop{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

DWORD WINAPI ConfirmSweepWorker::run(LPVOID parameter) {
    // The thread owns a share of its state, so it may outlive the executor safely.
    std::unique_ptr<std::shared_ptr<State>> owned(static_cast<std::shared_ptr<State>*>(parameter));
    HANDLE stop = (*owned)->stop.get();
    SweepScope& scope = *(*owned)->scope;
    while (WaitForSingleObject(stop, kWorkerFirstPauseMs) == WAIT_TIMEOUT) {
        sweepConfirmDialogs(scope);
        // A client whose confirmation is modal holds Halyard's press until it is confirmed.
        const DWORD pause = scope.ownPressRecent() ? kWorkerOwnOrderPauseMs : kWorkerPauseMs;
        if (WaitForSingleObject(stop, pause) != WAIT_TIMEOUT) break;
    }
    return 0;
}

ConfirmSweepWorker::ConfirmSweepWorker(std::shared_ptr<SweepScope> scope)
    : state(std::make_shared<State>(std::move(scope))) {
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
    const BrokerConfig* config = BrokerConfigStore::instance()->current;
    // Spaced from the start of the previous read, with the slack of a timer tick: a monitor
    // interval of 3 s must read at every cycle, not at every other one.
    if (!config || !throttleElapsed(lastPositionsRefresh, kTimerSlackMs)) return;
    // A list that is no longer a window holds no table: the last good snapshot stays.
    if (!IsWindow(positionsList)) return;
    const uint32_t started = GetTickCount();
    Sleep(0);
    sweepConfirmDialogs();
    clickToolbarButton(ButtonSlot::Positions);
    const TableRead read = readPositions(positionsList, *config);
    if (read == TableRead::NotATable) return;
    noteCutRead(read, L"持仓");
    lastPositionsRefresh = started;
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

std::vector<std::wstring> ZsZqOrderExecutor::takeClientNotices() {
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

void ZsZqOrderExecutor::readOrdersNow(const BrokerConfig& config) {
    if (readOrders(ordersList, config) == TableRead::NotATable) return;
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

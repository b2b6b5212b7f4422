// Learning an unknown client's layout by sweeping its toolbar, and finding which stored layout
// fits the running client.
#include <array>
#include <utility>

#include "broker/client_windows.h"
#include "broker/panel_recognition.h"
#include "broker/position_snapshot_store.h"
#include "broker/result_codes.h"
#include "broker/window_toolkit.h"
#include "broker/zszq_order_executor.h"
#include "brokerconfig/broker_config_store.h"
#include "brokerconfig/column_names.h"

namespace {

constexpr int32_t kFirstSweepX = 10;
constexpr int32_t kSecondSweepX = 225;
constexpr int32_t kSweepEndX = 700;
constexpr int32_t kSweepStepX = 3;
constexpr int32_t kToolbarClickY = 20;
constexpr DWORD kSweepSettleMs = 10;

// Marks detection as running for as long as it lives.
class DetectionScope {
public:
    explicit DetectionScope(std::atomic<int>& depth) : depth_(depth) { ++depth_; }
    ~DetectionScope() { --depth_; }
    DetectionScope(const DetectionScope&) = delete;
    DetectionScope& operator=(const DetectionScope&) = delete;

private:
    std::atomic<int>& depth_;
};

// The pages a sweep has found, and where.
struct SweepFind {
    HWND buy = nullptr;
    HWND sell = nullptr;
    HWND positions = nullptr;
    HWND orders = nullptr;
    std::vector<ButtonPosition> buttons;

    bool complete() const { return buy && sell && positions && orders; }
    bool isKnown(HWND e) const { return e == buy || e == sell || e == positions || e == orders; }
};

}  // namespace

bool ZsZqOrderExecutor::isBuyPanel(HWND window) {
    return hasButtonWithCaption(window, L"买入下单");
}

bool ZsZqOrderExecutor::isSellPanel(HWND window) {
    return hasButtonWithCaption(window, L"卖出下单");
}

void ZsZqOrderExecutor::setLayoutLearnedListener(std::function<void(const BrokerConfig&)> listener) {
    std::lock_guard<std::mutex> hold(listenerLock);
    layoutLearned = std::move(listener);
}

std::array<HWND*, 15> ZsZqOrderExecutor::windowFields() {
    return {&clientMainWindow, &toolbarWindow,  &buyCodeEdit,   &buyPriceEdit,  &buyQuantityEdit,
            &buyMaxLabel,      &buyOrderButton, &sellCodeEdit,  &sellPriceEdit, &sellQuantityEdit,
            &sellOrderButton,  &sellMaxLabel,   &positionsList, &ordersList,    &cancelButton};
}

void ZsZqOrderExecutor::forgetClientWindows() {
    std::lock_guard<std::mutex> hold(lock);
    for (HWND* handle : windowFields()) *handle = nullptr;
}

ZsZqOrderExecutor::Connection ZsZqOrderExecutor::connection() {
    std::lock_guard<std::mutex> hold(lock);
    Connection kept;
    const std::array<HWND*, 15> fields = windowFields();
    for (size_t i = 0; i < fields.size(); ++i) kept.windows[i] = *fields[i];
    kept.watched = sweepScope->client();
    kept.config = BrokerConfigStore::instance()->current;
    return kept;
}

void ZsZqOrderExecutor::restore(const Connection& kept) {
    std::lock_guard<std::mutex> hold(lock);
    const std::array<HWND*, 15> fields = windowFields();
    for (size_t i = 0; i < fields.size(); ++i) *fields[i] = kept.windows[i];
    sweepScope->watchClient(kept.watched);
    BrokerConfigStore::instance()->current = kept.config;
}

std::wstring ZsZqOrderExecutor::clientTitle() {
    const std::wstring title = windowText(clientMainWindow);
    return title.substr(0, title.find(L'-'));
}

BrokerConfig* ZsZqOrderExecutor::addLearned(std::unique_ptr<BrokerConfig> config) {
    BrokerConfigStore* store = BrokerConfigStore::instance();
    BrokerConfig* added = store->addAsCurrent(std::move(config));
    // Two minutes of clicking must survive a crash before the program's normal exit.
    store->save();
    std::function<void(const BrokerConfig&)> listener;
    {
        std::lock_guard<std::mutex> hold(listenerLock);
        listener = layoutLearned;
    }
    if (added && listener) listener(*added);
    return added;
}

// A detection that fails leaves the executor as it was: connected with the configuration it had.
int ZsZqOrderExecutor::autoConfigure() {
    DetectionScope scope(detectionDepth);
    const Connection before = connection();
    forgetClientWindows();
    if (learnLayout(kFirstSweepX) || learnLayout(kSecondSweepX) || learnGridClient()) return 1;
    restore(before);
    return 0;
}

int ZsZqOrderExecutor::learnAndConnect() {
    DetectionScope scope(detectionDepth);
    const Connection before = connection();
    if (!autoConfigure()) return 0;
    if (connect()) return 1;
    restore(before);
    return 0;
}

int ZsZqOrderExecutor::learnLayout(int32_t startX) {
    learntPageBits = 0;
    clientMainWindow = listViewClientWindow();
    if (!clientMainWindow) {
        lastError = kMainWindowNotFound;
        return 0;
    }
    const std::wstring title = clientTitle();
    const std::vector<HWND> toolbars = findDescendants(clientMainWindow, L"MHPToolBar", L"MainViewBar");
    if (toolbars.empty() || !toolbars.front()) {
        lastError = kToolbarNotFound;
        return 0;
    }
    toolbarWindow = toolbars.front();
    HWND top = grandparent(toolbarWindow);
    if (!top) {
        lastError = kToolbarParentNotFound;
        return 0;
    }
    if (const int refused = clientOutOfReach(clientMainWindow)) {
        lastError = refused;
        return 0;
    }
    // The pop-ups the sweep's clicks raise are this client's.
    sweepScope->watchClient(clientMainWindow);

    SweepFind find;
    find.buttons.resize(5);
    find.buttons[static_cast<size_t>(ButtonSlot::CancelSecond)] = {L"撤单按钮2", 20, 20};
    HWND lastSeen = nullptr;
    for (int32_t x = startX; x < kSweepEndX && IsWindow(toolbarWindow); x += kSweepStepX) {
        const LPARAM point = static_cast<LPARAM>(x) | (static_cast<LPARAM>(kToolbarClickY) << 16);
        PostMessageW(toolbarWindow, WM_LBUTTONDOWN, MK_LBUTTON, point);
        PostMessageW(toolbarWindow, WM_LBUTTONUP, MK_LBUTTON, point);
        Sleep(sweepPauseMs.load());
        Sleep(kSweepSettleMs);
        sweepConfirmDialogs();

        HWND e = visibleDialogChild(top);
        if (!e || e == lastSeen) continue;
        lastSeen = e;
        auto record = [&](HWND& panel, ButtonSlot slot, const wchar_t* name, unsigned bit) {
            panel = e;
            find.buttons[static_cast<size_t>(slot)] = {name, x, kToolbarClickY};
            learntPageBits |= bit;
        };
        if (!find.buy && !find.isKnown(e) && isBuyPanel(e))
            record(find.buy, ButtonSlot::Buy, L"买入按钮", kLearntBuy);
        if (!find.sell && !find.isKnown(e) && isSellPanel(e))
            record(find.sell, ButtonSlot::Sell, L"卖出按钮", kLearntSell);
        if (!find.positions && !find.isKnown(e) && isPositionsPanel(e))
            record(find.positions, ButtonSlot::Positions, L"持仓按钮", kLearntPositions);
        if (!find.orders && !find.isKnown(e) && isOrdersPanel(e))
            record(find.orders, ButtonSlot::Cancel, L"撤单按钮", kLearntOrders);
        if (find.complete()) break;
    }
    if (!find.buy || !find.sell || !find.positions) {
        // A client closed during the sweep is missing, not unrecognised.
        lastError = IsWindow(clientMainWindow) ? kPagesNotRecognised : kMainWindowNotFound;
        return 0;
    }

    auto config = std::make_unique<BrokerConfig>(title, title);
    config->setButtonPositions(find.buttons);
    const StringList positionTitles = listTitlesOf(find.positions);
    config->setPositionColumns(positionTitles, mapPositionTitles(positionTitles));
    const StringList commitTitles = find.orders ? listTitlesOf(find.orders) : StringList();
    config->setCommitColumns(commitTitles, mapCommitTitles(commitTitles));
    addLearned(std::move(config));
    return 1;
}

// A client without the list-view toolbar whose tree menu leads to the pages: its configuration is
// made current and saved at once, as a learnt list-view layout is.
int ZsZqOrderExecutor::learnGridClient() {
    HWND main = GridOrderExecutor::findUnknownClient();
    if (!main) return 0;
    unsigned pages = 0;
    std::unique_ptr<BrokerConfig> config = grid->learn(main, pages);
    learntPageBits = pages;
    if (!config) {
        lastError = grid->lastErrorCode();
        return 0;
    }
    return addLearned(std::move(config)) ? 1 : 0;
}

int ZsZqOrderExecutor::detectBroker() {
    DetectionScope scope(detectionDepth);
    const Connection before = connection();
    PositionSnapshotStore::instance()->clear();
    BrokerConfigStore* store = BrokerConfigStore::instance();
    for (BrokerConfig* config : store->brokers()) {
        store->current = config;
        forgetClientWindows();
        if (config->family == ClientFamily::Grid) {
            if (grid->connect()) return 1;
            continue;
        }
        discoverWindows(config);
        if (isConnected()) return 1;
    }
    if (tryUnknownClient(distinctLayouts())) return 1;
    restore(before);
    return 0;
}

std::vector<BrokerConfig*> ZsZqOrderExecutor::distinctLayouts() const {
    std::vector<BrokerConfig*> layouts;
    for (BrokerConfig* config : BrokerConfigStore::instance()->brokers()) {
        if (config->family == ClientFamily::Grid) continue;
        bool seen = false;
        for (const BrokerConfig* kept : layouts) seen = seen || sameLayout(*config, *kept);
        if (!seen) layouts.push_back(config);
    }
    return layouts;
}

bool ZsZqOrderExecutor::sameLayout(const BrokerConfig& a, const BrokerConfig& b) {
    return a.buttonPositionList() == b.buttonPositionList() && a.positionTitles() == b.positionTitles() &&
           a.positionOwnNames() == b.positionOwnNames() && a.commitTitles() == b.commitTitles() &&
           a.commitOwnNames() == b.commitOwnNames();
}

int ZsZqOrderExecutor::tryUnknownClient(const std::vector<BrokerConfig*>& candidates) {
    clientMainWindow = listViewClientWindow();
    if (!clientMainWindow) {
        lastError = kMainWindowNotFound;
        return 0;
    }
    const std::wstring title = clientTitle();
    BrokerConfigStore* store = BrokerConfigStore::instance();
    BrokerConfig* const saved = store->current;
    for (const BrokerConfig* candidate : candidates) {
        std::unique_ptr<BrokerConfig> copy = candidate->clone();
        copy->name = title;
        copy->windowName = title;
        store->current = copy.get();
        forgetClientWindows();
        discoverWindows(copy.get());
        if (isConnected()) {
            addLearned(std::move(copy));
            return 1;
        }
        store->current = saved;
    }
    return 0;
}

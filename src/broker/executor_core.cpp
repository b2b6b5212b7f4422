#include "broker/result_codes.h"
#include "broker/zszq_order_executor.h"
#include "brokerconfig/broker_config_store.h"
#include "common/singleton.h"

namespace {

constexpr DWORD kThrottleMs = 3000;
constexpr DWORD kReconnectPauseMs = 500;

}  // namespace

bool throttleElapsed(uint32_t since, uint32_t slackMs) {
    return static_cast<uint32_t>(GetTickCount() - since) + slackMs >= kThrottleMs;
}

ZsZqOrderExecutor* ZsZqOrderExecutor::instance() {
    return halyard::singletonOf<ZsZqOrderExecutor>().instance(
        [] { return std::unique_ptr<ZsZqOrderExecutor>(new ZsZqOrderExecutor()); });
}

void ZsZqOrderExecutor::destroyInstance() {
    halyard::singletonOf<ZsZqOrderExecutor>().destroy();
}

ZsZqOrderExecutor::ZsZqOrderExecutor() : worker(std::make_unique<ConfirmSweepWorker>(sweepScope)) {}

ZsZqOrderExecutor::~ZsZqOrderExecutor() {
    worker.reset();
}

GridOrderExecutor* ZsZqOrderExecutor::gridInUse() const {
    const BrokerConfig* config = BrokerConfigStore::instance()->current;
    return config && config->family == ClientFamily::Grid ? grid.get() : nullptr;
}

int ZsZqOrderExecutor::connect() {
    if (GridOrderExecutor* inUse = gridInUse()) return inUse->connect();
    const BrokerConfig* config = BrokerConfigStore::instance()->current;
    if (discoverWindows(config)) return 1;
    Sleep(kReconnectPauseMs);
    return discoverWindows(config);
}

const wchar_t* ZsZqOrderExecutor::lastErrorText() {
    if (GridOrderExecutor* inUse = gridInUse()) return inUse->lastErrorText();
    return resultCodeText(lastError);
}

int ZsZqOrderExecutor::isConnected() {
    if (GridOrderExecutor* inUse = gridInUse()) return inUse->isConnected();
    // The sell button and the positions list must still be windows, and the list must still
    // belong to the main window discovery found: a restarted client has new windows throughout.
    if (!sellOrderButton || !IsWindow(sellOrderButton) || !positionsList || !IsWindow(positionsList))
        return 0;
    return clientMainWindow && IsChild(clientMainWindow, positionsList) ? 1 : 0;
}

int ZsZqOrderExecutor::hasOrdersList() {
    if (GridOrderExecutor* inUse = gridInUse()) return inUse->hasOrdersList();
    return ordersList ? 1 : 0;
}

void ZsZqOrderExecutor::setMessengerDriver(std::unique_ptr<MessengerDriver> driver) {
    messengers = std::move(driver);
}

int ZsZqOrderExecutor::sendFetionSms(const wchar_t* phoneNumber, const wchar_t* text) {
    return messengers ? messengers->sendFetionSms(phoneNumber, text) : 0;
}

int ZsZqOrderExecutor::sendQqMessage(const wchar_t* windowTitle, const wchar_t* text) {
    return messengers ? messengers->sendQqMessage(windowTitle, text) : 0;
}

// The session's timer: the trading-hours gate, the cycle, when the rules are written, and what
// the status line says about the contact with the client.
#include "rules/monitor_session.h"

#include <algorithm>
#include <set>

#include "broker/client_contact.h"
#include "broker/order_executor.h"
#include "brokerconfig/broker_config_store.h"
#include "brokerconfig/broker_detection.h"
#include "common/c_format.h"
#include "rules/column_check.h"
#include "rules/rule_file.h"
#include "rules/stock_sightings.h"

namespace {

std::size_t armedTrailingStops(const RuleTable& rules) {
    std::size_t armed = 0;
    for (const auto& entry : rules) armed += entry.second.HasTrigerMoveStopPrice ? 1 : 0;
    return armed;
}

std::set<std::wstring> pendingSaleCodes(const MonitorState& state) {
    std::set<std::wstring> codes;
    for (const auto& entry : state.pendingSales) codes.insert(entry.first);
    return codes;
}

// A captcha is answered within a minute or two; the message alert carries it beyond that.
constexpr uint32_t kClientRequestShownMs = 60000;

std::wstring lastReadText(const ContactStatus& status) {
    if (!status.hasRead) return {};
    const std::tm& read = status.lastRead;
    return L" · 上次读取 " + halyard::wcformat("%02d:%02d:%02d", read.tm_hour, read.tm_min, read.tm_sec);
}

}  // namespace

// The cycle's environment: the outside one, with what the window shows taken by the session.
class MonitorSession::CycleEnvironment : public MonitorEnvironment {
public:
    CycleEnvironment(MonitorSession& session, MonitorEnvironment& outside)
        : session_(session), outside_(outside) {}
    const AlertOptions& alertSettings() override { return outside_.alertSettings(); }
    std::tm localTime() override { return outside_.localTime(); }
    void playAlertSound(const std::wstring& file) override { outside_.playAlertSound(file); }
    void raiseMessageAlert(const std::wstring& text) override { outside_.raiseMessageAlert(text); }
    void raiseMessageAlertAbout(const std::wstring& text, const AlertSubject& subject) override {
        outside_.raiseMessageAlertAbout(text, subject);
    }
    void positionsRead(std::size_t count) override {
        outside_.positionsRead(count);
        session_.view_.showRowCount(count);
    }
    uint32_t tickMs() override { return outside_.tickMs(); }
    uint32_t monitorIntervalMs() override { return outside_.monitorIntervalMs(); }
    void contactChanged(const ContactStatus& status) override { session_.showContact(status); }
    void clientAsksInvestor(const std::wstring& notice) override { session_.showClientRequest(notice); }
    void reconnected() override { session_.reconnected(); }
    void monitorEvent(MonitorEvent event) override { outside_.monitorEvent(event); }

private:
    MonitorSession& session_;
    MonitorEnvironment& outside_;
};

MonitorSession::MonitorSession(std::wstring folder, OrderExecutor& executor, PositionSnapshotStore& store,
                               MonitorEnvironment& outside, MonitorView& view)
    : folder_(std::move(folder)),
      executor_(executor),
      store_(store),
      outside_(outside),
      view_(view),
      environment_(std::make_unique<CycleEnvironment>(*this, outside)),
      ruleSaver_(folder_),
      journal_(folder_) {}

MonitorSession::~MonitorSession() = default;

std::wstring MonitorSession::loadRules() {
    RuleFileRead read = readRuleFile(folder_);
    rules_ = std::move(read.rules);
    if (!read.trouble.empty()) ruleSaver_.keepUnreadableFile();
    state_.sightings = loadSightings(folder_);
    return read.trouble;
}

void MonitorSession::ruleFileWrites(bool working) {
    if (working) {
        journal_.note(L"规则文件 Stock_Config.xml 又可以写入了, 规则和最高价已保存");
        return;
    }
    const std::wstring text =
        L"规则文件 Stock_Config.xml 无法写入, 规则和最高价的修改没有保存: "
        L"请检查文件是否被别的程序占用或磁盘已满";
    journal_.note(text);
    outside_.raiseMessageAlert(text);
}

bool MonitorSession::busy() const {
    return inCycle_ || detectionRunning();
}

// Detection replaces the current configuration and the client windows on its own thread.
bool MonitorSession::detectionRunning() const {
    const auto* detection = dynamic_cast<const BrokerDetection*>(&executor_);
    return detection && detection->detectionRunning();
}

ClientContact* MonitorSession::contact() const {
    return dynamic_cast<ClientContact*>(&executor_);
}

void MonitorSession::tick(const std::tm& localTime) {
    ruleSaver_.tick(rules_, outside_.tickMs());
    if (const std::optional<bool> writes = ruleSaver_.takeWriteOutcomeChange()) ruleFileWrites(*writes);
    // While 全平 or 全撤 runs, it alone drives the executor; a detection leaves it alone.
    if (!running_ || commandRun_ || busy()) return;
    if (withinTradingHours(localTime)) {
        runCycle();
        queue(Request::Kind::RepaintList);
    } else {
        // Outside trading hours only the contact is watched, so a morning restart is caught.
        inCycle_ = true;
        MonitorCycle(executor_, store_, *environment_, &journal_, &state_, contact()).watchOnly();
        inCycle_ = false;
    }
    handOver();
}

void MonitorSession::runCycle() {
    if (busy()) return;
    inCycle_ = true;
    MonitorCycle cycle(executor_, store_, *environment_, &journal_, &state_, contact());
    const std::size_t armedBefore = armedTrailingStops(rules_);
    const std::set<std::wstring> salesBefore = pendingSaleCodes(state_);
    const MonitorCycleResult result = cycle.run(rules_, traceOrder_);
    inCycle_ = false;
    // A sale or a newly armed trailing stop is written at once; highs alone are spaced out (an
    // alert-only rule triggers every cycle and moves nothing worth more).
    const std::set<std::wstring> salesAfter = pendingSaleCodes(state_);
    const bool sold =
        !std::includes(salesBefore.begin(), salesBefore.end(), salesAfter.begin(), salesAfter.end());
    if (sold || armedTrailingStops(rules_) != armedBefore)
        ruleSaver_.saveNow(rules_, outside_.tickMs());
    else if (result.rulesChanged)
        ruleSaver_.highsMoved(rules_, outside_.tickMs());
    if (result.sightingsChanged) saveSightings(folder_, state_.sightings);
    handOver();
}

void MonitorSession::showContact(const ContactStatus& status) {
    // Shown again once 全平 or 全撤 no longer holds the status line.
    shownStatus_ = status;
    if (commandRun_) return;
    std::wstring text;
    switch (status.kind) {
        case ContactStatus::Kind::Connected:
            text = L"已连接 " + BrokerConfigStore::instance()->currentName() + lastReadText(status);
            if (!missingColumns_.empty()) text += L" · " + missingColumns_;
            if (!clientRequest_.empty() && outside_.tickMs() - clientRequestSinceMs_ < kClientRequestShownMs)
                text += L" · " + clientRequest_;
            break;
        case ContactStatus::Kind::Reconnecting:
            text = L"正在重新连接…";
            break;
        case ContactStatus::Kind::Lost:
            text = L"未连接券商: " + status.errorText + lastReadText(status);
            break;
    }
    view_.showStatusLine(text);
}

void MonitorSession::showClientRequest(const std::wstring& notice) {
    clientRequest_ = notice;
    clientRequestSinceMs_ = outside_.tickMs();
    showContact(shownStatus_);
}

std::wstring MonitorSession::checkColumns() {
    const BrokerConfig* config = BrokerConfigStore::instance()->current.get();
    missingColumns_ = config ? missingColumnsText(missingRuleColumns(*config, rules_)) : std::wstring();
    if (!missingColumns_.empty()) journal_.note(missingColumns_);
    return missingColumns_;
}

void MonitorSession::reconnected() {
    if (!checkColumns().empty()) queue(Request::Kind::ColumnsMessage);
    // The new connection may have an orders list where the old one had none, or the reverse.
    queue(Request::Kind::RefreshList);
}

void MonitorSession::handOver() {
    if (inCycle_) return;
    std::vector<Request> requests;
    requests.swap(requests_);
    for (const Request& request : requests) deliver(request);
}

void MonitorSession::deliver(const Request& request) {
    switch (request.kind) {
        case Request::Kind::RefreshList:
            view_.refreshList();
            break;
        case Request::Kind::RepaintList:
            view_.repaintList();
            break;
        case Request::Kind::Message:
            view_.showMessage(request.text);
            break;
        case Request::Kind::ColumnsMessage:
            // One at a time: a cycle run inside the open message may connect again.
            if (columnsMessageOpen_ || missingColumns_.empty()) break;
            columnsMessageOpen_ = true;
            view_.showMessage(missingColumns_);
            columnsMessageOpen_ = false;
            break;
    }
}

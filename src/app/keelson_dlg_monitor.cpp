// Timers of the main window: the monitor cycle behind the trading-hours gate, and the tool
// tips shown once after start-up.
#include <algorithm>
#include <set>

#include "app/app_settings.h"
#include "app/keelson_dlg.h"
#include "broker/client_contact.h"
#include "broker/order_executor.h"
#include "broker/position_snapshot_store.h"
#include "brokerconfig/broker_config_store.h"
#include "brokerconfig/broker_detection.h"
#include "common/c_format.h"
#include "framework/message_box.h"
#include "res/resource.h"
#include "rules/column_check.h"

namespace {

// A captcha is answered within a minute or two; the message alert carries it beyond that.
constexpr DWORD kClientRequestShownMs = 60000;

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

std::wstring lastReadText(const ContactStatus& status) {
    if (!status.hasRead) return {};
    const std::tm& read = status.lastRead;
    return L" · 上次读取 " + halyard::wcformat("%02d:%02d:%02d", read.tm_hour, read.tm_min, read.tm_sec);
}

}  // namespace

const AlertOptions& CKeelsonDlg::Environment::alertSettings() {
    return *AppSettings::instance();
}

std::tm CKeelsonDlg::Environment::localTime() {
    return currentLocalTime();
}

void CKeelsonDlg::Environment::playAlertSound(const std::wstring& file) {
    owner_.alerts().playAlertSound(file);
}

void CKeelsonDlg::Environment::raiseMessageAlert(const std::wstring& text) {
    owner_.alerts().raiseMessage(*AppSettings::instance(), text);
}

void CKeelsonDlg::Environment::raiseMessageAlertAbout(const std::wstring& text, const AlertSubject& subject) {
    owner_.alerts().raiseMessage(*AppSettings::instance(), text, subject);
}

void CKeelsonDlg::Environment::positionsRead(std::size_t count) {
    // Each cycle is a round of the alerts: a condition no longer raised has gone.
    owner_.alerts().beginRound();
    if (static_cast<int>(count) != owner_.positionList_.itemCount())
        owner_.positionList_.setItemCount(static_cast<int>(count), 0);
}

uint32_t CKeelsonDlg::Environment::monitorIntervalMs() {
    return static_cast<uint32_t>(owner_.timerSeconds()) * 1000u;
}

// Detection replaces the current configuration and the client windows on its own thread.
bool CKeelsonDlg::detectionRunning() {
    const auto* detection = dynamic_cast<const BrokerDetection*>(&executor());
    return detection && detection->detectionRunning();
}

void CKeelsonDlg::Environment::contactChanged(const ContactStatus& status) {
    owner_.showContactStatus(status);
}

void CKeelsonDlg::Environment::clientAsksInvestor(const std::wstring& notice) {
    owner_.clientRequest_ = notice;
    owner_.clientRequestSinceMs_ = GetTickCount();
    owner_.showContactStatus(owner_.shownStatus_);
}

void CKeelsonDlg::Environment::reconnected() {
    owner_.checkColumns(false);
    // The new connection may have an orders list where the old one had none, or the reverse.
    owner_.refreshList();
}

void CKeelsonDlg::Environment::monitorEvent(MonitorEvent event) {
    owner_.dailyReport_.count(event, currentLocalTime());
}

void CKeelsonDlg::runMonitorCycle() {
    // Executor calls may pump messages; a tick arriving inside a cycle is dropped, and so is
    // every tick while detection runs.
    if (cycleRunning_ || detectionRunning()) return;
    cycleRunning_ = true;
    MonitorCycle cycle(executor(), *PositionSnapshotStore::instance(), environment_, &journal_,
                       &monitorState_, dynamic_cast<ClientContact*>(&executor()));
    const std::size_t armedBefore = armedTrailingStops(rules);
    const std::set<std::wstring> salesBefore = pendingSaleCodes(monitorState_);
    const MonitorCycleResult result = cycle.run(rules, traceOrder != FALSE);
    cycleRunning_ = false;
    // A sale or a newly armed trailing stop is written at once; highs alone are spaced out (an
    // alert-only rule triggers every cycle and moves nothing worth more).
    const std::set<std::wstring> salesAfter = pendingSaleCodes(monitorState_);
    const bool sold =
        !std::includes(salesBefore.begin(), salesBefore.end(), salesAfter.begin(), salesAfter.end());
    if (sold || armedTrailingStops(rules) != armedBefore)
        ruleSaver_.saveNow(rules, environment_.tickMs());
    else if (result.rulesChanged)
        ruleSaver_.highsMoved(rules, environment_.tickMs());
    if (result.sightingsChanged) saveSightings(folder_, monitorState_.sightings);
}

void CKeelsonDlg::onTimer(UINT_PTR timerId) {
    if (timerId == kToolTipTimer) {
        showToolTips();
        return;
    }
    if (timerId == kCommandTimer) {
        stepCommand();
        return;
    }
    if (timerId != kMonitorTimer) return;
    ruleSaver_.tick(rules, environment_.tickMs());
    sendDueDailyReport();
    // While 全平 or 全撤 runs, it alone drives the executor.
    if (!running || commandRun_) return;
    // A detection works on the executor's windows and configuration: in or out of trading hours
    // the timer leaves the executor alone until it ends.
    if (detectionRunning()) return;
    if (!withinTradingHours(currentLocalTime())) {
        // Outside trading hours only the contact is watched, so a morning restart is caught.
        if (cycleRunning_) return;
        cycleRunning_ = true;
        MonitorCycle(executor(), *PositionSnapshotStore::instance(), environment_, &journal_, &monitorState_,
                     dynamic_cast<ClientContact*>(&executor()))
            .watchOnly();
        cycleRunning_ = false;
        return;
    }
    runMonitorCycle();
    positionList_.invalidate(true);
}

void CKeelsonDlg::showContactStatus(const ContactStatus& status) {
    // Shown again once 全平 or 全撤 no longer holds the status line.
    shownStatus_ = status;
    if (commandRun_) return;
    std::wstring text;
    switch (status.kind) {
        case ContactStatus::Kind::Connected: {
            text = L"已连接 " + BrokerConfigStore::instance()->currentName();
            text += lastReadText(status);
            if (!missingColumns_.empty()) text += L" · " + missingColumns_;
            if (!clientRequest_.empty() && GetTickCount() - clientRequestSinceMs_ < kClientRequestShownMs)
                text += L" · " + clientRequest_;
            break;
        }
        case ContactStatus::Kind::Reconnecting:
            text = L"正在重新连接…";
            break;
        case ContactStatus::Kind::Lost:
            text = L"未连接券商: " + status.errorText;
            text += lastReadText(status);
            break;
    }
    showStatusLine(text);
}

void CKeelsonDlg::showStatusLine(const std::wstring& text) {
    HWND line = item(IDC_CONTACT_STATUS);
    if (!line) return;
    SetWindowTextW(line, text.c_str());
    // A connect or a sale blocks for seconds: the line must show before it starts.
    UpdateWindow(line);
}

void CKeelsonDlg::checkColumns(bool atStartUp) {
    const BrokerConfig* config = BrokerConfigStore::instance()->current;
    missingColumns_ = config ? missingColumnsText(missingRuleColumns(*config, rules)) : std::wstring();
    if (missingColumns_.empty()) return;
    journal_.note(missingColumns_);
    // Shown after the cycle that connected, never inside it (a message box would hold the cycle).
    if (atStartUp)
        halyard::showMessageBox(hwnd(), missingColumns_, MB_OK);
    else if (!columnsMessageOpen_)
        PostMessageW(hwnd(), kColumnsMessage, 0, 0);
}

void CKeelsonDlg::updateRunButton() {
    if (running) {
        runButton_.setIcon(runningIcon_.get());
        runButton_.setToolTip(L"止盈止损运行中,点击将停止");
    } else {
        runButton_.setIcon(stoppedIcon_.get());
        runButton_.setToolTip(L"止盈止损已停止,点击将启动");
    }
}

void CKeelsonDlg::showToolTips() {
    updateRunButton();
    brokerSettingsButton_.setToolTip(L"设置(检测)券商");
    alertSettingsButton_.setToolTip(L"声音,发送手机短信,QQ信息");
    toolTips_.setToolText(item(IDC_TRACE_ORDER), L"追单如果勾上：把之前还没成交的委托撤掉再下新的卖单");
    toolTips_.activate(true);
    KillTimer(hwnd(), kToolTipTimer);
}

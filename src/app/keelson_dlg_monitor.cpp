// Timers of the main window: the monitor cycle behind the trading-hours gate, and the tool
// tips shown once after start-up.
#include "app/app_settings.h"
#include "app/keelson_dlg.h"
#include "broker/order_executor.h"
#include "broker/position_snapshot_store.h"
#include "broker/zszq_order_executor.h"
#include "res/resource.h"

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

void CKeelsonDlg::Environment::positionsRead(std::size_t count) {
    if (static_cast<int>(count) != owner_.positionList_.itemCount())
        owner_.positionList_.setItemCount(static_cast<int>(count), 0);
}

// Detection replaces the current configuration on its own thread; a stand-in executor never
// detects.
bool CKeelsonDlg::detectionRunning() {
    return !injectedExecutor_ && ZsZqOrderExecutor::instance()->detectionRunning();
}

void CKeelsonDlg::runMonitorCycle() {
    // Executor calls may pump messages; a tick arriving inside a cycle is dropped, and so is
    // every tick while detection runs.
    if (cycleRunning_ || detectionRunning()) return;
    cycleRunning_ = true;
    MonitorCycle cycle(executor(), *PositionSnapshotStore::instance(), environment_, &journal_);
    const MonitorCycleResult result = cycle.run(rules, traceOrder != FALSE);
    cycleRunning_ = false;
    if (result.rulesChanged) saveRules();
}

void CKeelsonDlg::onTimer(UINT_PTR timerId) {
    if (timerId == kToolTipTimer) {
        showToolTips();
        return;
    }
    if (timerId != kMonitorTimer || !running) return;
    if (!withinTradingHours(currentLocalTime())) return;
    runMonitorCycle();
    positionList_.invalidate(true);
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

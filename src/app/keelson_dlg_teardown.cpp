// End of the main window: the broker configurations, the three settings and the rules are
// saved, the alert workers end, then the process-wide executor and snapshot store go. The end
// of the Windows session saves the same files while the window still runs.
#include "app/app_settings.h"
#include "app/keelson_dlg.h"
#include "broker/position_snapshot_store.h"
#include "broker/zszq_order_executor.h"
#include "brokerconfig/broker_config_store.h"
#include "framework/exchange_text.h"
#include "res/resource.h"

CKeelsonDlg::~CKeelsonDlg() {
    if (!started_) return;  // never shown: nothing was read, so nothing may overwrite the files
    if (!injectedExecutor_) ZsZqOrderExecutor::instance()->setLayoutLearnedListener(nullptr);
    BrokerConfigStore::destroyInstance();
    saveSettingsAndRules();
    // A send still running past its budget keeps the executor it drives; the process ends anyway.
    const bool alertsEnded = environment_.stopAlerts();
    if (!injectedExecutor_ && alertsEnded) ZsZqOrderExecutor::destroyInstance();
    PositionSnapshotStore::destroyInstance();
}

void CKeelsonDlg::keepTypedInterval() {
    int typed = 0;
    if (halyard::parseExchangeInt(itemText(IDC_MONITOR_INTERVAL), typed) && typed >= kShortestInterval &&
        typed <= kLongestInterval)
        monitorInterval = typed;
}

void CKeelsonDlg::saveSettingsAndRules() {
    MonitorSettings settings;
    settings.monitorInterval = monitorInterval;
    settings.traceOrder = traceOrder;
    settings.neverFoundValidBroker = neverFoundValidBroker;
    writeMonitorSettings(profile_, settings);
    session_.saveRules();
}

void CKeelsonDlg::saveForSessionEnd() {
    keepTypedInterval();
    BrokerConfigStore::instance()->save();
    saveSettingsAndRules();
    session_.journal().note(L"Windows 注销或关机: 设置和规则已保存, Halyard 随之退出");
}

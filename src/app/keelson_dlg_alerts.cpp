// The main window's alerts: the dispatch with its channel workers, the alert settings dialog
// opened from button 1033, and the daily report.
#include "alerts/alert_dispatch_win.h"
#include "alerts/voice_setting_dlg.h"
#include "alerts/window_messengers_win.h"
#include "app/app_alert_settings.h"
#include "app/app_settings.h"
#include "app/keelson_dlg.h"
#include "broker/zszq_order_executor.h"
#include "brokerconfig/broker_config_store.h"

AlertDispatch& CKeelsonDlg::alerts() {
    if (!alerts_) {
        if (!injectedExecutor_)
            ZsZqOrderExecutor::instance()->setMessengerDriver(std::make_unique<WindowMessengers>());
        alerts_ = std::make_unique<AlertDispatch>(windowsAlertSenders(executor()), &session_.journal());
    }
    return *alerts_;
}

void CKeelsonDlg::openAlertSettings() {
    AppAlertSettingsStore store;
    CVoiceSetting dialog(store, alerts(), hwnd());
    dialog.doModal();
}

void CKeelsonDlg::sendDueDailyReport() {
    const AppSettings& settings = *AppSettings::instance();
    // A detection makes configurations of its own current and destroys them: the report waits.
    if (!settings.dailyReport || detectionRunning()) return;
    ReadyState state;
    state.monitoring = session_.running();
    state.connected = executor().isConnected();
    if (!state.connected) state.connectionError = session_.state().contact.errorText;
    state.brokerName = BrokerConfigStore::instance()->currentName();
    state.ruleCount = session_.rules().size();
    const std::wstring text = dailyReport_.due(currentLocalTime(), state);
    if (text.empty()) return;
    session_.journal().note(L"每日运行报告: " + text);
    alerts().raiseMessage(settings, text, AlertSubject{L"", L"", AlertSubject::Kind::Report});
}

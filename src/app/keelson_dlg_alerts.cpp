// The main window's alerts: the dispatch with its channel workers, and the alert settings
// dialog opened from button 1033.
#include "alerts/alert_dispatch_win.h"
#include "alerts/voice_setting_dlg.h"
#include "alerts/window_messengers_win.h"
#include "app/app_alert_settings.h"
#include "app/keelson_dlg.h"
#include "broker/zszq_order_executor.h"

AlertDispatch& CKeelsonDlg::alerts() {
    if (!alerts_) {
        if (!injectedExecutor_)
            ZsZqOrderExecutor::instance()->setMessengerDriver(std::make_unique<WindowMessengers>());
        alerts_ = std::make_unique<AlertDispatch>(windowsAlertSenders(executor()), &journal_);
    }
    return *alerts_;
}

void CKeelsonDlg::openAlertSettings() {
    AppAlertSettingsStore store;
    CVoiceSetting dialog(store, alerts(), hwnd());
    dialog.doModal();
}

// The alert settings dialog opened from button 1033, over the monitor's alerts.
#include "alerts/voice_setting_dlg.h"
#include "app/app_alert_settings.h"
#include "app/keelson_dlg.h"

void CKeelsonDlg::openAlertSettings() {
    AppAlertSettingsStore store;
    CVoiceSetting dialog(store, environment_.alerts(), hwnd());
    dialog.doModal();
}

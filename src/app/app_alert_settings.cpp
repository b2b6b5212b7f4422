#include "app/app_alert_settings.h"

#include "app/app_settings.h"

AlertOptions AppAlertSettingsStore::alertSettings() {
    return *AppSettings::instance();
}

void AppAlertSettingsStore::storeAlertSettings(const AlertOptions& settings) {
    AppSettings* stored = AppSettings::instance();
    static_cast<AlertOptions&>(*stored) = settings;
    stored->save();
}

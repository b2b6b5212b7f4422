#pragma once
// The alert options of AppSettings as the alerts subsystem takes them, and back.
#include "alerts/alert_settings.h"

class AppSettings;

AlertSettings alertSettingsOf(const AppSettings& settings);
void copyAlertSettings(const AlertSettings& alerts, AppSettings& settings);

// The alert settings dialog's store: AppSettings::instance(), saved when the dialog stores.
class AppAlertSettingsStore : public AlertSettingsStore {
public:
    AlertSettings alertSettings() override;
    void storeAlertSettings(const AlertSettings& settings) override;
};

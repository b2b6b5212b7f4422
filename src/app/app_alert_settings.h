#pragma once
// The alert settings dialog's store: the alert options of AppSettings::instance(), saved with
// all the settings when the dialog stores them.
#include "alerts/alert_settings.h"

class AppAlertSettingsStore : public AlertSettingsStore {
public:
    AlertOptions alertSettings() override;
    void storeAlertSettings(const AlertOptions& settings) override;
};

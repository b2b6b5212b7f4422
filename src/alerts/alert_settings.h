#pragma once
// The alert options as the alert settings dialog reads and stores them.
#include "rules/alert_options.h"

// Where the dialog reads the options from and stores them to (storing also saves them).
class AlertSettingsStore {
public:
    virtual ~AlertSettingsStore() = default;
    virtual AlertOptions alertSettings() = 0;
    virtual void storeAlertSettings(const AlertOptions& settings) = 0;
};

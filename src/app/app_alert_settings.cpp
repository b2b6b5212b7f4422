#include "app/app_alert_settings.h"

#include "app/app_settings.h"

AlertSettings alertSettingsOf(const AppSettings& settings) {
    AlertSettings alerts;
    alerts.playVoice = settings.playVoice;
    alerts.stopLossSound = settings.stopLossSound;
    alerts.moveStopLossSound = settings.moveStopLossSound;
    alerts.takeProfitSound = settings.takeProfitSound;
    alerts.phoneMessage = settings.phoneMessage;
    alerts.qqMessage = settings.qqMessage;
    alerts.phoneNumber = settings.phoneNumber;
    alerts.qqNickname = settings.qqNickname;
    alerts.webhookMessage = settings.webhookMessage;
    alerts.webhookFormat = settings.webhookFormat;
    alerts.webhookUrl = settings.webhookUrl;
    return alerts;
}

void copyAlertSettings(const AlertSettings& alerts, AppSettings& settings) {
    settings.playVoice = alerts.playVoice;
    settings.stopLossSound = alerts.stopLossSound;
    settings.moveStopLossSound = alerts.moveStopLossSound;
    settings.takeProfitSound = alerts.takeProfitSound;
    settings.phoneMessage = alerts.phoneMessage;
    settings.qqMessage = alerts.qqMessage;
    settings.phoneNumber = alerts.phoneNumber;
    settings.qqNickname = alerts.qqNickname;
    settings.webhookMessage = alerts.webhookMessage;
    settings.webhookFormat = alerts.webhookFormat;
    settings.webhookUrl = alerts.webhookUrl;
}

AlertSettings AppAlertSettingsStore::alertSettings() {
    return alertSettingsOf(*AppSettings::instance());
}

void AppAlertSettingsStore::storeAlertSettings(const AlertSettings& settings) {
    AppSettings* stored = AppSettings::instance();
    copyAlertSettings(settings, *stored);
    stored->save();
}

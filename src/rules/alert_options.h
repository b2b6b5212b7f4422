#pragma once
// What the monitor cycle does when a rule triggers besides selling: which sound it plays and
// whom it messages. The main window hands them over from the settings.
#include <iterator>
#include <string>

#include "common/setting_table.h"

struct AlertOptions {
    // Every value at its default of the table below (a value the table lacks starts at 0).
    AlertOptions();

    int playVoice = 0;
    std::wstring stopLossSound;
    std::wstring moveStopLossSound;
    std::wstring takeProfitSound;
    int phoneMessage = 0;
    int qqMessage = 0;
    std::wstring phoneNumber;
    std::wstring qqNickname;
    // The group-robot webhook: on/off, its format (WebhookFormat of the alerts) and its URL.
    int webhookMessage = 0;
    int webhookFormat = 0;
    std::wstring webhookUrl;
    // The robot's signing secret; empty for a robot without 加签 or 签名校验.
    std::wstring webhookSecret;
    // How many messages a push service (Server酱, PushPlus) is sent a day besides sale and
    // contact alerts.
    int pushDailyLimit = 0;
    // The 每日运行报告: a ready message each trading morning and a summary after the close.
    int dailyReport = 0;
};

// Each value's name in the settings and its default, in the order they are saved.
inline constexpr halyard::Setting<AlertOptions> kAlertOptionSettings[] = {
    halyard::numberSetting(L"PlayVoice", &AlertOptions::playVoice, 1),
    halyard::numberSetting(L"PhoneMessage", &AlertOptions::phoneMessage, 0),
    halyard::numberSetting(L"QQMessage", &AlertOptions::qqMessage, 0),
    halyard::textSetting(L"StopLoss", &AlertOptions::stopLossSound, L"StopLoss.wav"),
    halyard::textSetting(L"MoveStopLoss", &AlertOptions::moveStopLossSound, L"MoveStopLoss.wav"),
    halyard::textSetting(L"TakeProfit", &AlertOptions::takeProfitSound, L"TakeProfit.wav"),
    halyard::textSetting(L"PhoneNumber", &AlertOptions::phoneNumber),
    halyard::textSetting(L"QQ", &AlertOptions::qqNickname),
    halyard::numberSetting(L"WebhookMessage", &AlertOptions::webhookMessage, 0),
    halyard::numberSetting(L"WebhookFormat", &AlertOptions::webhookFormat, 0),
    halyard::pastedTextSetting(L"WebhookUrl", &AlertOptions::webhookUrl),
    halyard::pastedTextSetting(L"WebhookSecret", &AlertOptions::webhookSecret),
    halyard::numberSetting(L"PushDailyLimit", &AlertOptions::pushDailyLimit, 50),
    halyard::numberSetting(L"DailyReport", &AlertOptions::dailyReport, 0),
};

inline halyard::SettingTable<AlertOptions> alertOptionSettings() {
    return {kAlertOptionSettings, std::size(kAlertOptionSettings)};
}

inline AlertOptions::AlertOptions() {
    halyard::applyDefaults(alertOptionSettings(), *this);
}

inline bool operator==(const AlertOptions& one, const AlertOptions& other) {
    return halyard::sameSettings(alertOptionSettings(), one, other);
}

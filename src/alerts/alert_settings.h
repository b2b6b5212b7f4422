#pragma once
// The alert options as the alert dispatch and the alert settings dialog use them. The
// application's settings hold them and hand a copy in; the dialog hands them back to be stored.
#include <string>

struct AlertSettings {
    int playVoice = 1;
    std::wstring stopLossSound = L"StopLoss.wav";
    std::wstring moveStopLossSound = L"MoveStopLoss.wav";
    std::wstring takeProfitSound = L"TakeProfit.wav";
    int phoneMessage = 0;
    int qqMessage = 0;
    std::wstring phoneNumber;
    std::wstring qqNickname;
    // The group-robot webhook: on/off, its format (WebhookFormat) and its URL.
    int webhookMessage = 0;
    int webhookFormat = 0;
    std::wstring webhookUrl;

    bool operator==(const AlertSettings& other) const;
};

// Where the dialog reads the settings from and stores them to (storing also saves them).
class AlertSettingsStore {
public:
    virtual ~AlertSettingsStore() = default;
    virtual AlertSettings alertSettings() = 0;
    virtual void storeAlertSettings(const AlertSettings& settings) = 0;
};

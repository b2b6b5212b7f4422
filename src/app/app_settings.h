#pragma once
#include <string>

class SettingsProfile;

// The process-wide settings: monitor values and the alert options.
class AppSettings {
public:
    // Created on first use over applicationProfile(), loaded at once, never destroyed.
    static AppSettings* instance();
    // Chooses the profile of instance() and applicationProfile(); call before the first use.
    static void setProfile(SettingsProfile* profile);

    void load();
    void save();

    int timerSeconds = 6;
    int traceOrderSetting = 0;
    int neverFoundValidBrokerSetting = 1;
    int playVoice = 1;
    std::wstring stopLossSound = L"StopLoss.wav";
    std::wstring moveStopLossSound = L"MoveStopLoss.wav";
    std::wstring takeProfitSound = L"TakeProfit.wav";
    int phoneMessage = 0;
    int qqMessage = 0;
    std::wstring phoneNumber;
    std::wstring qqNickname;
    // The group-robot webhook, beside the others: "WebhookMessage", "WebhookFormat", "WebhookUrl".
    int webhookMessage = 0;
    int webhookFormat = 0;
    std::wstring webhookUrl;

    explicit AppSettings(SettingsProfile& profile);

private:
    SettingsProfile& profile;
};

// The main window's own three values.
struct MonitorSettings {
    int monitorInterval = 6;
    int traceOrder = 1;
    int neverFoundValidBroker = 1;
};
// The profile chosen with setProfile; without one, the registry profile of this executable on
// Windows, and natively a profile that reads every value as its default and keeps no writes.
SettingsProfile& applicationProfile();

MonitorSettings readMonitorSettings(SettingsProfile& profile);
void writeMonitorSettings(SettingsProfile& profile, const MonitorSettings& settings);

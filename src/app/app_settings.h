#pragma once
#include <string>

class SettingsProfile;

// The process-wide settings: monitor values and the alert options.
class AppSettings {
public:
    // Created on first use over the profile given to setProfile (the registry in the program),
    // loaded at once, never destroyed.
    static AppSettings* instance();
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
MonitorSettings readMonitorSettings(SettingsProfile& profile);
void writeMonitorSettings(SettingsProfile& profile, const MonitorSettings& settings);

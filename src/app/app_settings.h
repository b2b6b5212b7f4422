#pragma once
#include <string>

#include "rules/alert_options.h"

class SettingsProfile;

// The process-wide settings: the alert options. The main window's three values (MonitorSettings)
// are the main window's alone: a second owner would write back what it read at start-up.
class AppSettings : public AlertOptions {
public:
    // Created on first use over applicationProfile() and loaded at once (common/singleton.h).
    // The program never destroys it; destroyInstance is for tests that want it read afresh.
    static AppSettings* instance();
    static void destroyInstance();
    // Chooses the profile of instance() and applicationProfile(); call before the first use.
    static void setProfile(SettingsProfile* profile);

    void load();
    void save();

    // The values (playVoice, the three sounds, phoneMessage, qqMessage, phoneNumber, qqNickname,
    // the robot and the daily report) are those of AlertOptions.

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

#include "app/app_settings.h"

#include <mutex>

#include "app/settings_profile.h"
#ifdef _WIN32
#include "app/registry_profile.h"
#endif

namespace {

struct SettingsSingleton {
    std::mutex lock;
    SettingsProfile* chosenProfile = nullptr;
    AppSettings* settings = nullptr;  // never deleted
};

SettingsSingleton& singleton() {
    static SettingsSingleton s;
    return s;
}

SettingsProfile& defaultProfile() {
#ifdef _WIN32
    static RegistryProfile* const profile = new RegistryProfile(RegistryProfile::executableApplicationName());
#else
    static DefaultsProfile* const profile = new DefaultsProfile;
#endif
    return *profile;
}

}  // namespace

AppSettings::AppSettings(SettingsProfile& profile) : profile(profile) {}

AppSettings* AppSettings::instance() {
    SettingsSingleton& s = singleton();
    std::lock_guard<std::mutex> guard(s.lock);
    if (!s.settings) {
        s.settings = new AppSettings(s.chosenProfile ? *s.chosenProfile : defaultProfile());
        s.settings->load();
    }
    return s.settings;
}

void AppSettings::setProfile(SettingsProfile* profile) {
    SettingsSingleton& s = singleton();
    std::lock_guard<std::mutex> guard(s.lock);
    s.chosenProfile = profile;
}

SettingsProfile& applicationProfile() {
    SettingsSingleton& s = singleton();
    std::lock_guard<std::mutex> guard(s.lock);
    return s.chosenProfile ? *s.chosenProfile : defaultProfile();
}

void AppSettings::load() {
    timerSeconds = profile.readInt(L"Timer", 6);
    traceOrderSetting = profile.readInt(L"TraceOrdr", 1);
    neverFoundValidBrokerSetting = profile.readInt(L"NeverFoundValidBroke", 1);
    playVoice = profile.readInt(L"PlayVoice", 1);
    stopLossSound = profile.readString(L"StopLoss", L"StopLoss.wav");
    moveStopLossSound = profile.readString(L"MoveStopLoss", L"MoveStopLoss.wav");
    takeProfitSound = profile.readString(L"TakeProfit", L"TakeProfit.wav");
    phoneMessage = profile.readInt(L"PhoneMessage", 0);
    qqMessage = profile.readInt(L"QQMessage", 0);
    phoneNumber = profile.readString(L"PhoneNumber", L"");
    qqNickname = profile.readString(L"QQ", L"");
    webhookMessage = profile.readInt(L"WebhookMessage", 0);
    webhookFormat = profile.readInt(L"WebhookFormat", 0);
    webhookUrl = profile.readString(L"WebhookUrl", L"");
}

void AppSettings::save() {
    profile.writeInt(L"Timer", timerSeconds);
    profile.writeInt(L"TraceOrdr", traceOrderSetting);
    profile.writeInt(L"NeverFoundValidBroke", neverFoundValidBrokerSetting);
    profile.writeInt(L"PlayVoice", playVoice);
    profile.writeInt(L"PhoneMessage", phoneMessage);
    profile.writeInt(L"QQMessage", qqMessage);
    profile.writeString(L"StopLoss", stopLossSound);
    profile.writeString(L"MoveStopLoss", moveStopLossSound);
    profile.writeString(L"TakeProfit", takeProfitSound);
    profile.writeString(L"PhoneNumber", phoneNumber);
    profile.writeString(L"QQ", qqNickname);
    profile.writeInt(L"WebhookMessage", webhookMessage);
    profile.writeInt(L"WebhookFormat", webhookFormat);
    profile.writeString(L"WebhookUrl", webhookUrl);
}

MonitorSettings readMonitorSettings(SettingsProfile& profile) {
    MonitorSettings settings;
    settings.monitorInterval = profile.readInt(L"Timer", 6);
    settings.traceOrder = profile.readInt(L"TraceOrdr", 1);
    settings.neverFoundValidBroker = profile.readInt(L"NeverFoundValidBroke", 1);
    return settings;
}

void writeMonitorSettings(SettingsProfile& profile, const MonitorSettings& settings) {
    profile.writeInt(L"Timer", settings.monitorInterval);
    profile.writeInt(L"TraceOrdr", settings.traceOrder);
    profile.writeInt(L"NeverFoundValidBroke", settings.neverFoundValidBroker);
}

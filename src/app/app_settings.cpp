#include "app/app_settings.h"

#include <memory>
#include <mutex>

#include "app/settings_profile.h"
#include "common/singleton.h"
#include "common/trimmed_text.h"
#ifdef _WIN32
#include "app/registry_profile.h"
#endif

namespace {

// Guarded by the singleton's lock.
SettingsProfile* chosenProfile = nullptr;

SettingsProfile& defaultProfile() {
#ifdef _WIN32
    static RegistryProfile* const profile = new RegistryProfile(RegistryProfile::executableApplicationName());
#else
    static DefaultsProfile* const profile = new DefaultsProfile;
#endif
    return *profile;
}

}  // namespace

AppSettings::AppSettings(SettingsProfile& source) : profile(source) {}

AppSettings* AppSettings::instance() {
    return halyard::singletonOf<AppSettings>().instance([] {
        auto settings = std::make_unique<AppSettings>(chosenProfile ? *chosenProfile : defaultProfile());
        settings->load();
        return settings;
    });
}

void AppSettings::destroyInstance() {
    halyard::singletonOf<AppSettings>().destroy();
}

void AppSettings::setProfile(SettingsProfile* profile) {
    std::lock_guard<std::mutex> guard(halyard::singletonOf<AppSettings>().lock());
    chosenProfile = profile;
}

SettingsProfile& applicationProfile() {
    std::lock_guard<std::mutex> guard(halyard::singletonOf<AppSettings>().lock());
    return chosenProfile ? *chosenProfile : defaultProfile();
}

void AppSettings::load() {
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
    // Values stored before pasted blanks were trimmed are trimmed as they are read.
    webhookUrl = halyard::trimmedText(profile.readString(L"WebhookUrl", L""));
    webhookSecret = halyard::trimmedText(profile.readString(L"WebhookSecret", L""));
    pushDailyLimit = profile.readInt(L"PushDailyLimit", 50);
    dailyReport = profile.readInt(L"DailyReport", 0);
}

void AppSettings::save() {
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
    profile.writeString(L"WebhookSecret", webhookSecret);
    profile.writeInt(L"PushDailyLimit", pushDailyLimit);
    profile.writeInt(L"DailyReport", dailyReport);
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

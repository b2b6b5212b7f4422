#include "app/app_settings.h"

#include <memory>
#include <mutex>

#include "app/settings_profile.h"
#include "common/singleton.h"
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
    halyard::loadSettings(alertOptionSettings(), profile, static_cast<AlertOptions&>(*this));
}

void AppSettings::save() {
    halyard::saveSettings(alertOptionSettings(), profile, static_cast<const AlertOptions&>(*this));
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

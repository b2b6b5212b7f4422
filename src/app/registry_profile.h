#pragma once
// The settings section "Monitor" of this application in the current user's registry hive:
// HKEY_CURRENT_USER\Software\应用程序向导生成的本地应用程序\<application>\Monitor.
#include <string>

#include "app/settings_profile.h"

class RegistryProfile : public SettingsProfile {
public:
    // `applicationName` is the executable's file name without extension, as in "Keelson".
    explicit RegistryProfile(std::wstring applicationName);

    // The application name of the running executable.
    static std::wstring executableApplicationName();

    // Integers are DWORD values and strings REG_SZ values; any other type reads as the default.
    int readInt(const wchar_t* name, int defaultValue) override;
    std::wstring readString(const wchar_t* name, const std::wstring& defaultValue) override;
    void writeInt(const wchar_t* name, int value) override;
    void writeString(const wchar_t* name, const std::wstring& value) override;

    // The key below HKEY_CURRENT_USER.
    const std::wstring& keyPath() const { return path; }

private:
    std::wstring path;
};

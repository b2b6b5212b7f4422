#pragma once
// Integer and string values of one settings section. Failures are silent: a value that
// cannot be read (missing, or of another type) gives the default.
#include <string>

class SettingsProfile {
public:
    virtual ~SettingsProfile() = default;
    virtual int readInt(const wchar_t* name, int defaultValue) = 0;
    virtual std::wstring readString(const wchar_t* name, const std::wstring& defaultValue) = 0;
    virtual void writeInt(const wchar_t* name, int value) = 0;
    virtual void writeString(const wchar_t* name, const std::wstring& value) = 0;
};

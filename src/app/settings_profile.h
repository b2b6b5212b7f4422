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

// A section without storage: every value reads as its default and writes go nowhere.
class DefaultsProfile : public SettingsProfile {
public:
    int readInt(const wchar_t*, int defaultValue) override { return defaultValue; }
    std::wstring readString(const wchar_t*, const std::wstring& defaultValue) override {
        return defaultValue;
    }
    void writeInt(const wchar_t*, int) override {}
    void writeString(const wchar_t*, const std::wstring&) override {}
};

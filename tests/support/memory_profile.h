#pragma once
// A settings section in memory for tests; keeps the names in the order they were written.
#include <map>
#include <string>
#include <vector>

#include "app/settings_profile.h"

class MemoryProfile : public SettingsProfile {
public:
    int readInt(const wchar_t* name, int defaultValue) override {
        auto found = ints.find(name);
        return found == ints.end() ? defaultValue : found->second;
    }
    std::wstring readString(const wchar_t* name, const std::wstring& defaultValue) override {
        auto found = strings.find(name);
        return found == strings.end() ? defaultValue : found->second;
    }
    void writeInt(const wchar_t* name, int value) override {
        ints[name] = value;
        writes.push_back(name);
    }
    void writeString(const wchar_t* name, const std::wstring& value) override {
        strings[name] = value;
        writes.push_back(name);
    }

    std::map<std::wstring, int> ints;
    std::map<std::wstring, std::wstring> strings;
    std::vector<std::wstring> writes;
};

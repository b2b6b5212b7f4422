#pragma once
// A settings section held in memory, typed like the registry: a value read as the other type
// gives the default. Keeps the names in the order they were written.
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "app/settings_profile.h"

class MemoryProfile : public SettingsProfile {
public:
    using Value = std::variant<int, std::wstring>;

    int readInt(const wchar_t* name, int defaultValue) override {
        const auto found = values.find(name);
        if (found == values.end() || !std::holds_alternative<int>(found->second)) return defaultValue;
        return std::get<int>(found->second);
    }
    std::wstring readString(const wchar_t* name, const std::wstring& defaultValue) override {
        const auto found = values.find(name);
        if (found == values.end() || !std::holds_alternative<std::wstring>(found->second))
            return defaultValue;
        return std::get<std::wstring>(found->second);
    }
    void writeInt(const wchar_t* name, int value) override {
        values[name] = value;
        writes.push_back(name);
    }
    void writeString(const wchar_t* name, const std::wstring& value) override {
        values[name] = value;
        writes.push_back(name);
    }

    std::map<std::wstring, Value> values;
    std::vector<std::wstring> writes;
};

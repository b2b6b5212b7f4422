#pragma once
// A settings record described once: each value's stored name, its member and its default.
// The defaults, equality, loading and saving all walk the same table, so a new value is one line
// there. A profile is anything with readInt, readString, writeInt and writeString.
#include <cstddef>
#include <string>

#include "common/trimmed_text.h"

namespace halyard {

template <class Record>
struct Setting {
    const wchar_t* name;
    int Record::*number;
    int numberDefault;
    std::wstring Record::*text;
    const wchar_t* textDefault;
    // A pasted value came with blanks around it before they were dropped on entry: they are
    // dropped again as it is read.
    bool trimmedOnRead;
};

template <class Record>
constexpr Setting<Record> numberSetting(const wchar_t* name, int Record::*member, int fallback) {
    return {name, member, fallback, nullptr, L"", false};
}

template <class Record>
constexpr Setting<Record> textSetting(const wchar_t* name, std::wstring Record::*member,
                                      const wchar_t* fallback = L"") {
    return {name, nullptr, 0, member, fallback, false};
}

template <class Record>
constexpr Setting<Record> pastedTextSetting(const wchar_t* name, std::wstring Record::*member) {
    return {name, nullptr, 0, member, L"", true};
}

template <class Record>
struct SettingTable {
    const Setting<Record>* first;
    std::size_t count;

    const Setting<Record>* begin() const { return first; }
    const Setting<Record>* end() const { return first + count; }
};

template <class Record>
void applyDefaults(SettingTable<Record> table, Record& record) {
    for (const Setting<Record>& setting : table) {
        if (setting.number) record.*setting.number = setting.numberDefault;
        if (setting.text) record.*setting.text = setting.textDefault;
    }
}

template <class Record>
bool sameSettings(SettingTable<Record> table, const Record& one, const Record& other) {
    for (const Setting<Record>& setting : table) {
        if (setting.number && one.*setting.number != other.*setting.number) return false;
        if (setting.text && one.*setting.text != other.*setting.text) return false;
    }
    return true;
}

template <class Record, class Profile>
void loadSettings(SettingTable<Record> table, Profile& profile, Record& record) {
    for (const Setting<Record>& setting : table) {
        if (setting.number) record.*setting.number = profile.readInt(setting.name, setting.numberDefault);
        if (!setting.text) continue;
        const std::wstring value = profile.readString(setting.name, setting.textDefault);
        record.*setting.text = setting.trimmedOnRead ? trimmedText(value) : value;
    }
}

// In the table's order.
template <class Record, class Profile>
void saveSettings(SettingTable<Record> table, Profile& profile, const Record& record) {
    for (const Setting<Record>& setting : table) {
        if (setting.number) profile.writeInt(setting.name, record.*setting.number);
        if (setting.text) profile.writeString(setting.name, record.*setting.text);
    }
}

}  // namespace halyard

// The settings section in the current user's registry: key, value types and raw data, and
// values a user or another program left there.
#include "app/registry_profile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/app_settings.h"

namespace {

struct StoredValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    bool operator==(const StoredValue& other) const { return type == other.type && data == other.data; }
};

StoredValue dword(DWORD v) {
    const BYTE* p = reinterpret_cast<const BYTE*>(&v);
    return {REG_DWORD, std::vector<BYTE>(p, p + sizeof(v))};
}
StoredValue text(const std::wstring& s) {
    const BYTE* p = reinterpret_cast<const BYTE*>(s.c_str());
    return {REG_SZ, std::vector<BYTE>(p, p + (s.size() + 1) * sizeof(wchar_t))};
}

// The test's own application key, removed before and after each test.
class RegistryProfileTest : public ::testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, applicationKey.c_str()); }

    void putRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, section.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
        RegCloseKey(key);
    }

    // Every value of the section as RegEnumValueW lists it.
    std::map<std::wstring, StoredValue> listSection() {
        std::map<std::wstring, StoredValue> values;
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, section.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return values;
        for (DWORD i = 0;; ++i) {
            wchar_t name[256];
            DWORD nameLength = 256;
            StoredValue value;
            value.data.resize(4096);
            DWORD size = static_cast<DWORD>(value.data.size());
            if (RegEnumValueW(key, i, name, &nameLength, nullptr, &value.type, value.data.data(), &size) !=
                ERROR_SUCCESS)
                break;
            value.data.resize(size);
            values[std::wstring(name, nameLength)] = value;
        }
        RegCloseKey(key);
        return values;
    }

    const std::wstring application = L"HalyardRegistryTest" + std::to_wstring(GetCurrentProcessId());
    const std::wstring applicationKey = L"Software\\应用程序向导生成的本地应用程序\\" + application;
    const std::wstring section = applicationKey + L"\\Monitor";
};

}  // namespace

TEST_F(RegistryProfileTest, ValuesAreDwordsAndStringsUnderTheApplicationsMonitorKey) {
    EXPECT_EQ(RegistryProfile::executableApplicationName(), L"registry_profile_tests");
    RegistryProfile profile(application);
    EXPECT_EQ(profile.keyPath(), section);
    EXPECT_EQ(profile.readInt(L"Timer", 6), 6);  // no key at all
    EXPECT_EQ(profile.readString(L"QQ", L"默认"), L"默认");
    profile.writeInt(L"Timer", 15);
    profile.writeInt(L"QQMessage", -1);
    profile.writeString(L"QQ", L"张三的群");
    profile.writeString(L"PhoneNumber", L"");
    EXPECT_EQ(listSection(), (std::map<std::wstring, StoredValue>{{L"Timer", dword(15)},
                                                                  {L"QQMessage", dword(0xFFFFFFFFu)},
                                                                  {L"QQ", text(L"张三的群")},
                                                                  {L"PhoneNumber", text(L"")}}));
    EXPECT_EQ(profile.readInt(L"QQMessage", 0), -1);
    EXPECT_EQ(profile.readString(L"PhoneNumber", L"x"), L"");
    profile.writeString(L"QQ", L"短");
    EXPECT_EQ(RegistryProfile(application).readString(L"QQ", L""), L"短");
}

TEST_F(RegistryProfileTest, MistypedValuesReadAsDefaults) {
    // Four bytes each where a DWORD would be, and none of them the default read back.
    const std::wstring digits = L"7";
    const DWORD size = static_cast<DWORD>((digits.size() + 1) * sizeof(wchar_t));
    const DWORD number = 7;
    const unsigned long long wide = 5;
    putRaw(L"Timer", REG_SZ, digits.c_str(), size);
    putRaw(L"QQ", REG_DWORD, &number, sizeof(number));
    putRaw(L"PlayVoice", REG_QWORD, &wide, sizeof(wide));
    putRaw(L"TraceOrdr", REG_BINARY, &number, sizeof(number));
    putRaw(L"StopLoss", REG_EXPAND_SZ, digits.c_str(), size);
    putRaw(L"PhoneMessage", REG_DWORD, &number, 2);
    RegistryProfile profile(application);
    AppSettings settings(profile);
    settings.load();
    EXPECT_EQ(settings.qqNickname, L"");
    EXPECT_EQ(settings.playVoice, 1);
    EXPECT_EQ(settings.stopLossSound, L"StopLoss.wav");
    EXPECT_EQ(settings.phoneMessage, 0);
    const MonitorSettings monitor = readMonitorSettings(profile);
    EXPECT_EQ(monitor.monitorInterval, 6);
    EXPECT_EQ(monitor.traceOrder, 1);
}

TEST_F(RegistryProfileTest, StringsWithoutOrWithExtraTerminatorsReadAsTheirText) {
    const wchar_t unterminated[] = {L'a', L'b', L'c'};
    putRaw(L"QQ", REG_SZ, unterminated, sizeof(unterminated));
    const wchar_t doubled[] = {L'x', L'\0', L'y', L'\0'};
    putRaw(L"PhoneNumber", REG_SZ, doubled, sizeof(doubled));
    const char oddSize[] = {'z', '\0', 'q'};
    putRaw(L"StopLoss", REG_SZ, oddSize, sizeof(oddSize));
    RegistryProfile profile(application);
    const std::wstring longText(20000, L'长');
    profile.writeString(L"MoveStopLoss", longText);
    EXPECT_EQ(profile.readString(L"QQ", L""), L"abc");
    EXPECT_EQ(profile.readString(L"PhoneNumber", L""), L"x");
    EXPECT_EQ(profile.readString(L"StopLoss", L"").substr(0, 1), L"z");
    EXPECT_EQ(profile.readString(L"MoveStopLoss", L""), longText);
}

#include "app/registry_profile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/app_settings.h"

namespace {

const wchar_t kCompany[] = L"Software\\应用程序向导生成的本地应用程序";

struct StoredValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

// The test's own application key, removed before and after each test.
class RegistryProfileTest : public ::testing::Test {
protected:
    void SetUp() override { removeKey(); }
    void TearDown() override { removeKey(); }

    std::wstring applicationKey() const { return std::wstring(kCompany) + L"\\" + application; }
    std::wstring sectionKey() const { return applicationKey() + L"\\Monitor"; }

    void removeKey() { RegDeleteTreeW(HKEY_CURRENT_USER, applicationKey().c_str()); }

    void putRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, sectionKey().c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
        RegCloseKey(key);
    }

    // Every value of the section as RegEnumValueW lists it: name, type and raw data.
    std::map<std::wstring, StoredValue> listSection() {
        std::map<std::wstring, StoredValue> values;
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, sectionKey().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
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

    static std::vector<BYTE> dwordBytes(DWORD v) {
        const BYTE* p = reinterpret_cast<const BYTE*>(&v);
        return std::vector<BYTE>(p, p + sizeof(v));
    }
    static std::vector<BYTE> stringBytes(const std::wstring& s) {
        const BYTE* p = reinterpret_cast<const BYTE*>(s.c_str());
        return std::vector<BYTE>(p, p + (s.size() + 1) * sizeof(wchar_t));
    }

    const std::wstring application = L"HalyardRegistryTest" + std::to_wstring(GetCurrentProcessId());
};

}  // namespace

TEST_F(RegistryProfileTest, ValuesLandUnderTheApplicationsMonitorKeyWithTheirTypes) {
    RegistryProfile profile(application);
    EXPECT_EQ(profile.keyPath(), sectionKey());
    profile.writeInt(L"Timer", 15);
    profile.writeInt(L"QQMessage", -1);
    profile.writeString(L"QQ", L"张三的群");
    profile.writeString(L"PhoneNumber", L"");

    const auto values = listSection();
    ASSERT_EQ(values.size(), 4u);
    EXPECT_EQ(values.at(L"Timer").type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(values.at(L"Timer").data, dwordBytes(15));
    EXPECT_EQ(values.at(L"QQMessage").data, dwordBytes(0xFFFFFFFFu));
    EXPECT_EQ(values.at(L"QQ").type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(values.at(L"QQ").data, stringBytes(L"张三的群"));
    EXPECT_EQ(values.at(L"PhoneNumber").type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(values.at(L"PhoneNumber").data, stringBytes(L""));

    EXPECT_EQ(profile.readInt(L"Timer", 6), 15);
    EXPECT_EQ(profile.readInt(L"QQMessage", 0), -1);
    EXPECT_EQ(profile.readString(L"QQ", L"x"), L"张三的群");
    EXPECT_EQ(profile.readString(L"PhoneNumber", L"x"), L"");

    profile.writeInt(L"Timer", 30);
    profile.writeString(L"QQ", L"短");
    EXPECT_EQ(RegistryProfile(application).readInt(L"Timer", 6), 30);
    EXPECT_EQ(RegistryProfile(application).readString(L"QQ", L""), L"短");
}

TEST_F(RegistryProfileTest, MissingAndMistypedValuesReadAsDefaults) {
    RegistryProfile profile(application);
    EXPECT_EQ(profile.readInt(L"Timer", 6), 6);  // no key at all
    EXPECT_EQ(profile.readString(L"StopLoss", L"StopLoss.wav"), L"StopLoss.wav");

    const std::wstring text = L"12";
    putRaw(L"Timer", REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    const DWORD number = 1;
    putRaw(L"QQ", REG_DWORD, &number, sizeof(number));
    const unsigned long long wide = 5;
    putRaw(L"PlayVoice", REG_QWORD, &wide, sizeof(wide));
    putRaw(L"TraceOrdr", REG_BINARY, &number, sizeof(number));
    putRaw(L"StopLoss", REG_EXPAND_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    putRaw(L"PhoneMessage", REG_DWORD, &number, 2);

    EXPECT_EQ(profile.readInt(L"Timer", 6), 6);
    EXPECT_EQ(profile.readString(L"QQ", L"默认"), L"默认");
    EXPECT_EQ(profile.readInt(L"PlayVoice", 1), 1);
    EXPECT_EQ(profile.readInt(L"TraceOrdr", 1), 1);
    EXPECT_EQ(profile.readString(L"StopLoss", L"StopLoss.wav"), L"StopLoss.wav");
    EXPECT_EQ(profile.readInt(L"PhoneMessage", 0), 0);
    EXPECT_EQ(profile.readInt(L"Missing", 42), 42);

    AppSettings settings(profile);
    settings.load();
    EXPECT_EQ(settings.timerSeconds, 6);
    EXPECT_EQ(settings.traceOrderSetting, 1);
    EXPECT_EQ(settings.qqNickname, L"");
}

TEST_F(RegistryProfileTest, HandWrittenStringsWithoutOrWithExtraTerminatorsReadAsTheirText) {
    RegistryProfile profile(application);
    const wchar_t unterminated[] = {L'a', L'b', L'c'};
    putRaw(L"QQ", REG_SZ, unterminated, sizeof(unterminated));
    const wchar_t doubled[] = {L'x', L'\0', L'y', L'\0'};
    putRaw(L"PhoneNumber", REG_SZ, doubled, sizeof(doubled));
    const char oddSize[] = {'z', '\0', 'q'};
    putRaw(L"StopLoss", REG_SZ, oddSize, sizeof(oddSize));
    const std::wstring longText(20000, L'长');
    profile.writeString(L"MoveStopLoss", longText);

    EXPECT_EQ(profile.readString(L"QQ", L""), L"abc");
    EXPECT_EQ(profile.readString(L"PhoneNumber", L""), L"x");
    EXPECT_EQ(profile.readString(L"StopLoss", L"").substr(0, 1), L"z");
    EXPECT_EQ(profile.readString(L"MoveStopLoss", L""), longText);
}

TEST_F(RegistryProfileTest, SettingsRoundTripThroughTheRegistry) {
    RegistryProfile profile(application);
    const DWORD hundred = 100;
    putRaw(L"Timer", REG_DWORD, &hundred, sizeof(hundred));
    AppSettings settings(profile);
    settings.load();
    EXPECT_EQ(settings.timerSeconds, 100);
    EXPECT_EQ(settings.playVoice, 1);
    settings.playVoice = 0;
    settings.stopLossSound = L"C:\\声音\\止损.wav";
    settings.save();
    writeMonitorSettings(profile, {20, 0, 0});

    const auto values = listSection();
    EXPECT_EQ(values.size(), 11u);
    for (const wchar_t* name :
         {L"Timer", L"TraceOrdr", L"NeverFoundValidBroke", L"PlayVoice", L"PhoneMessage", L"QQMessage"})
        EXPECT_EQ(values.at(name).type, static_cast<DWORD>(REG_DWORD)) << name;
    for (const wchar_t* name : {L"StopLoss", L"MoveStopLoss", L"TakeProfit", L"PhoneNumber", L"QQ"})
        EXPECT_EQ(values.at(name).type, static_cast<DWORD>(REG_SZ)) << name;
    EXPECT_EQ(values.at(L"Timer").data, dwordBytes(20));

    AppSettings next(profile);
    next.load();
    EXPECT_EQ(next.timerSeconds, 20);
    EXPECT_EQ(next.traceOrderSetting, 0);
    EXPECT_EQ(next.neverFoundValidBrokerSetting, 0);
    EXPECT_EQ(next.playVoice, 0);
    EXPECT_EQ(next.stopLossSound, L"C:\\声音\\止损.wav");
}

TEST(RegistryProfileName, IsTheExecutableNameWithoutExtension) {
    EXPECT_EQ(RegistryProfile::executableApplicationName(), L"registry_profile_tests");
    EXPECT_EQ(RegistryProfile(L"Keelson").keyPath(),
              L"Software\\应用程序向导生成的本地应用程序\\Keelson\\Monitor");
}

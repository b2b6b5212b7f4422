// The settings over a profile: the names and defaults they are kept under, and who wins.
#include "app/app_settings.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "support/memory_profile.h"

namespace {

// Every value in the order save() writes them, each followed by '|'.
std::wstring values(const AppSettings& s) {
    std::wstring text;
    for (int value :
         {s.playVoice, s.phoneMessage, s.qqMessage, s.webhookMessage, s.webhookFormat, s.dailyReport})
        text += std::to_wstring(value) + L"|";
    for (const std::wstring& value : {s.stopLossSound, s.moveStopLossSound, s.takeProfitSound, s.phoneNumber,
                                      s.qqNickname, s.webhookUrl, s.webhookSecret})
        text += value + L"|";
    return text;
}

}  // namespace

TEST(AppSettings, FirstStartReadsTheDefaults) {
    MemoryProfile profile;
    AppSettings settings(profile);
    settings.load();
    EXPECT_EQ(values(settings), L"1|0|0|0|0|0|StopLoss.wav|MoveStopLoss.wav|TakeProfit.wav|||||");
    EXPECT_TRUE(profile.writes.empty());
    const MonitorSettings monitor = readMonitorSettings(profile);
    EXPECT_EQ(monitor.monitorInterval, 6);
    EXPECT_EQ(monitor.traceOrder, 1);
    EXPECT_EQ(monitor.neverFoundValidBroker, 1);
}

TEST(AppSettings, EveryValueHasItsOwnNameAndIsSavedIntegersFirst) {
    MemoryProfile profile;
    profile.ints = {{L"Timer", 100},        {L"TraceOrdr", 0},     {L"NeverFoundValidBroke", 2},
                    {L"PlayVoice", 3},      {L"PhoneMessage", 4},  {L"QQMessage", 5},
                    {L"WebhookMessage", 6}, {L"WebhookFormat", 2}, {L"DailyReport", 7},
                    {L"PushDailyLimit", 30}};
    profile.strings = {{L"StopLoss", L"D:\\止损.wav"},
                       {L"MoveStopLoss", L""},
                       {L"TakeProfit", L"止盈.wav"},
                       {L"PhoneNumber", L"13800000000"},
                       {L"QQ", L"老王"},
                       {L"WebhookUrl", L" https://open.feishu.cn/open-apis/bot/v2/hook/k\r\n"},
                       {L"WebhookSecret", L"\x3000SEC密钥 "}};  // pasted: trimmed as read
    AppSettings settings(profile);
    settings.load();
    EXPECT_EQ(values(settings),
              L"3|4|5|6|2|7|D:\\止损.wav||止盈.wav|13800000000|老王|https://open.feishu.cn/open-apis/"
              L"bot/v2/hook/k|SEC密钥|");
    MemoryProfile stored = profile;
    for (const wchar_t* mainWindows : {L"Timer", L"TraceOrdr", L"NeverFoundValidBroke"})
        stored.ints.erase(mainWindows);
    stored.strings[L"WebhookUrl"] = L"https://open.feishu.cn/open-apis/bot/v2/hook/k";
    stored.strings[L"WebhookSecret"] = L"SEC密钥";
    profile = MemoryProfile();
    settings.save();
    EXPECT_EQ(profile.ints, stored.ints);
    EXPECT_EQ(profile.strings, stored.strings);
    EXPECT_EQ(profile.writes, (std::vector<std::wstring>{
                                  L"PlayVoice", L"PhoneMessage", L"QQMessage", L"StopLoss", L"MoveStopLoss",
                                  L"TakeProfit", L"PhoneNumber", L"QQ", L"WebhookMessage", L"WebhookFormat",
                                  L"WebhookUrl", L"WebhookSecret", L"PushDailyLimit", L"DailyReport"}));
}

TEST(AppSettings, TheAlertDialogLeavesTheMainWindowsValuesAlone) {
    MemoryProfile profile;
    AppSettings settings(profile);
    settings.load();  // before the main window stored its values
    MonitorSettings monitor;
    monitor.monitorInterval = 20;
    monitor.traceOrder = 0;
    monitor.neverFoundValidBroker = 0;
    writeMonitorSettings(profile, monitor);
    settings.qqMessage = 1;
    settings.save();  // the alert dialog confirmed
    const MonitorSettings after = readMonitorSettings(profile);
    EXPECT_EQ(after.monitorInterval, 20);
    EXPECT_EQ(after.traceOrder, 0);
    EXPECT_EQ(after.neverFoundValidBroker, 0);
    EXPECT_EQ(profile.ints[L"QQMessage"], 1);
}

TEST(AppSettings, InstanceIsLoadedOnceFromTheChosenProfile) {
    static MemoryProfile profile;  // outlives the process-wide settings' use in this test
    profile.ints = {{L"DailyReport", 15}};
    AppSettings::setProfile(&profile);
    EXPECT_EQ(&applicationProfile(), &profile);
    AppSettings* settings = AppSettings::instance();
    EXPECT_EQ(settings->dailyReport, 15);
    profile.ints[L"DailyReport"] = 30;
    EXPECT_EQ(AppSettings::instance(), settings);
    EXPECT_EQ(settings->dailyReport, 15);
}

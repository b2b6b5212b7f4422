#include "app/app_settings.h"

#include <gtest/gtest.h>

#include "settings/memory_profile.h"

TEST(AppSettings, FirstStartReadsTheDefaults) {
    MemoryProfile profile;
    AppSettings settings(profile);
    // Before load, the chase option is off; the stored default turns it on.
    EXPECT_EQ(settings.traceOrderSetting, 0);
    settings.load();
    EXPECT_EQ(settings.timerSeconds, 6);
    EXPECT_EQ(settings.traceOrderSetting, 1);
    EXPECT_EQ(settings.neverFoundValidBrokerSetting, 1);
    EXPECT_EQ(settings.playVoice, 1);
    EXPECT_EQ(settings.stopLossSound, L"StopLoss.wav");
    EXPECT_EQ(settings.moveStopLossSound, L"MoveStopLoss.wav");
    EXPECT_EQ(settings.takeProfitSound, L"TakeProfit.wav");
    EXPECT_EQ(settings.phoneMessage, 0);
    EXPECT_EQ(settings.qqMessage, 0);
    EXPECT_EQ(settings.phoneNumber, L"");
    EXPECT_EQ(settings.qqNickname, L"");
    EXPECT_TRUE(profile.writes.empty());

    const MonitorSettings monitor = readMonitorSettings(profile);
    EXPECT_EQ(monitor.monitorInterval, 6);
    EXPECT_EQ(monitor.traceOrder, 1);
    EXPECT_EQ(monitor.neverFoundValidBroker, 1);
}

TEST(AppSettings, StoredValuesAreReadAsTheyAreEvenOutsideTheDialogRange) {
    MemoryProfile profile;
    profile.values = {{L"Timer", 100},
                      {L"TraceOrdr", 0},
                      {L"NeverFoundValidBroke", 0},
                      {L"PlayVoice", 0},
                      {L"StopLoss", L"D:\\止损.wav"},
                      {L"MoveStopLoss", L""},
                      {L"TakeProfit", L"止盈.wav"},
                      {L"PhoneMessage", 1},
                      {L"QQMessage", 7},
                      {L"PhoneNumber", L"13800000000"},
                      {L"QQ", L"老王"}};
    AppSettings settings(profile);
    settings.load();
    EXPECT_EQ(settings.timerSeconds, 100);
    EXPECT_EQ(settings.traceOrderSetting, 0);
    EXPECT_EQ(settings.neverFoundValidBrokerSetting, 0);
    EXPECT_EQ(settings.playVoice, 0);
    EXPECT_EQ(settings.stopLossSound, L"D:\\止损.wav");
    EXPECT_EQ(settings.moveStopLossSound, L"");
    EXPECT_EQ(settings.takeProfitSound, L"止盈.wav");
    EXPECT_EQ(settings.phoneMessage, 1);
    EXPECT_EQ(settings.qqMessage, 7);
    EXPECT_EQ(settings.phoneNumber, L"13800000000");
    EXPECT_EQ(settings.qqNickname, L"老王");
    EXPECT_EQ(readMonitorSettings(profile).monitorInterval, 100);
}

TEST(AppSettings, ValuesOfTheOtherTypeReadAsDefaults) {
    MemoryProfile profile;
    profile.values = {{L"Timer", L"12"}, {L"PlayVoice", L"0"}, {L"StopLoss", 5}, {L"QQ", 1}};
    AppSettings settings(profile);
    settings.load();
    EXPECT_EQ(settings.timerSeconds, 6);
    EXPECT_EQ(settings.playVoice, 1);
    EXPECT_EQ(settings.stopLossSound, L"StopLoss.wav");
    EXPECT_EQ(settings.qqNickname, L"");
}

TEST(AppSettings, SaveWritesIntegersThenStrings) {
    MemoryProfile profile;
    AppSettings settings(profile);
    settings.load();
    settings.phoneMessage = 1;
    settings.phoneNumber = L"13900000000";
    settings.takeProfitSound = L"赚了.wav";
    settings.save();
    EXPECT_EQ(profile.writes,
              (std::vector<std::wstring>{L"Timer", L"TraceOrdr", L"NeverFoundValidBroke", L"PlayVoice",
                                         L"PhoneMessage", L"QQMessage", L"StopLoss", L"MoveStopLoss",
                                         L"TakeProfit", L"PhoneNumber", L"QQ"}));

    AppSettings reread(profile);
    reread.load();
    EXPECT_EQ(reread.timerSeconds, 6);
    EXPECT_EQ(reread.traceOrderSetting, 1);
    EXPECT_EQ(reread.phoneMessage, 1);
    EXPECT_EQ(reread.phoneNumber, L"13900000000");
    EXPECT_EQ(reread.takeProfitSound, L"赚了.wav");
    EXPECT_EQ(reread.stopLossSound, L"StopLoss.wav");
}

TEST(AppSettings, MainWindowValuesWrittenAtExitWinOverTheDialogsCopies) {
    MemoryProfile profile;
    MonitorSettings monitor = readMonitorSettings(profile);
    AppSettings settings(profile);
    settings.load();

    settings.qqMessage = 1;
    settings.qqNickname = L"群聊";
    settings.save();  // the alert dialog confirmed
    monitor.monitorInterval = 20;
    monitor.traceOrder = 0;
    writeMonitorSettings(profile, monitor);  // exit

    AppSettings next(profile);
    next.load();
    EXPECT_EQ(next.timerSeconds, 20);
    EXPECT_EQ(next.traceOrderSetting, 0);
    EXPECT_EQ(next.neverFoundValidBrokerSetting, 1);
    EXPECT_EQ(next.qqMessage, 1);
    EXPECT_EQ(next.qqNickname, L"群聊");
    EXPECT_EQ(readMonitorSettings(profile).monitorInterval, 20);
}

TEST(AppSettings, InstanceIsLoadedOnceFromTheChosenProfile) {
    static MemoryProfile profile;  // outlives the process-wide settings' use in this test
    profile.values = {{L"Timer", 15}, {L"QQ", L"一号"}};
    AppSettings::setProfile(&profile);
    EXPECT_EQ(&applicationProfile(), &profile);
    AppSettings* settings = AppSettings::instance();
    EXPECT_EQ(settings->timerSeconds, 15);
    EXPECT_EQ(settings->qqNickname, L"一号");

    profile.values[L"Timer"] = 30;
    EXPECT_EQ(AppSettings::instance(), settings);
    EXPECT_EQ(settings->timerSeconds, 15);
    settings->save();
    EXPECT_EQ(std::get<int>(profile.values[L"Timer"]), 15);
}

// The Fetion and QQ drivers against the stand-ins (tools/simmessengers), and a monitor cycle
// whose two triggers go out on every channel through the dispatch.
#include <windows.h>

#include <gtest/gtest.h>

#include "alerts/alert_dispatch_win.h"
#include "alerts/fetion_driver_win.h"
#include "alerts/qq_driver_win.h"
#include "alerts/window_messengers_win.h"
#include "app/app_settings.h"
#include "app/settings_profile.h"
#include "common/text_encoding.h"
#include "rules/monitor_cycle.h"
#include "rules/trade_journal.h"
#include "support/fake_executor.h"
#include "support/messenger_process.h"

namespace {

using halyard::testing::MessengerProcess;

const wchar_t kPhone[] = L"13800000000";

TEST(FetionDriver, OpensTheSmsWindowOnceAndFindsItAgainAfterARestart) {
    auto fetion = std::make_unique<MessengerProcess>(MessengerProcess::Kind::Fetion);
    ASSERT_TRUE(fetion->started()) << halyard::toUtf8(fetion->error());
    FetionDriver driver;
    EXPECT_EQ(driver.sendFetionSms(kPhone, L"第一条 止损"), 1);
    EXPECT_EQ(driver.sendFetionSms(kPhone, L"第二条\n止盈"), 1);
    ASSERT_TRUE(fetion->waitForSent(2));
    auto sent = fetion->sent();
    EXPECT_EQ(sent[0].text("to"), kPhone);
    EXPECT_EQ(sent[0].text("text"), L"第一条 止损");
    EXPECT_EQ(sent[1].text("text"), L"第二条\n止盈");
    EXPECT_EQ(fetion->count("double_click"), 1u);  // the open window was reused

    // The cached handles are stale once Fetion restarts; the next send finds the new windows.
    ASSERT_TRUE(fetion->stop());
    fetion = std::make_unique<MessengerProcess>(MessengerProcess::Kind::Fetion,
                                                std::vector<std::wstring>{L"--title", L"飞信 2014 测试版"});
    ASSERT_TRUE(fetion->started());
    EXPECT_EQ(driver.sendFetionSms(L"13900000000", L"重启之后"), 1);
    ASSERT_TRUE(fetion->waitForSent(1));
    EXPECT_EQ(fetion->sent()[0].text("to"), L"13900000000");
    EXPECT_EQ(fetion->sent()[0].text("text"), L"重启之后");
}

TEST(FetionDriver, NoSendWithoutAFetionTitleOrWithoutTheThirdField) {
    const struct {
        std::vector<std::wstring> options;
        size_t doubleClicks;
    } cases[] = {
        {{L"--title", L"Messenger"}, 0},  // neither "飞信2013" nor containing "飞信": nothing posted
        {{L"--fields", L"2"}, 1},         // opened, but no message field
    };
    for (const auto& c : cases) {
        MessengerProcess fetion(MessengerProcess::Kind::Fetion, c.options);
        ASSERT_TRUE(fetion.started());
        FetionDriver driver;
        EXPECT_EQ(driver.sendFetionSms(kPhone, L"止损"), 0) << halyard::toUtf8(c.options[1]);
        Sleep(300);
        EXPECT_TRUE(fetion.sent().empty());
        EXPECT_EQ(fetion.count("double_click"), c.doubleClicks);
    }
    EXPECT_EQ(FetionDriver().sendFetionSms(kPhone, L"止损"), 0);  // Fetion not running at all
}

TEST(QqDriver, OneCharacterMessagePerCodeUnitIntoTheWindowTitledExactly) {
    MessengerProcess qq(MessengerProcess::Kind::Qq, {L"--nickname", L"提醒群"});
    ASSERT_TRUE(qq.started());
    QqDriver driver;
    const std::wstring texts[] = {L"浦发银行 满足止损条件", L"a😀b", L"𠀀"};
    for (const std::wstring& text : texts) EXPECT_EQ(driver.sendQqMessage(L"提醒群", text), 1);
    EXPECT_EQ(driver.sendQqMessage(L"提醒", L"不该到"), 0);  // the title must match exactly
    ASSERT_TRUE(qq.waitForSent(3));
    Sleep(200);
    const auto sent = qq.sent();
    ASSERT_EQ(sent.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(sent[i].text("to"), L"提醒群");
        EXPECT_EQ(sent[i].text("text"), texts[i]);
        EXPECT_EQ(sent[i].number("units"), static_cast<double>(texts[i].size()));
    }
    EXPECT_EQ(sent[1].number("units"), 4);  // the emoji came as its two surrogates
}

class TwoTriggersEnvironment : public MonitorEnvironment {
public:
    TwoTriggersEnvironment(AppSettings& settings, AlertDispatch& alerts)
        : settings_(settings), alerts_(alerts) {}
    const AlertOptions& alertSettings() override { return settings_; }
    // Inside trading hours whenever the test runs: the cycle sells and alerts only then.
    std::tm localTime() override {
        std::tm now = currentLocalTime();
        now.tm_hour = 10;
        now.tm_min = 0;
        return now;
    }
    void playAlertSound(const std::wstring&) override {}
    void raiseMessageAlert(const std::wstring& text) override { alerts_.raiseMessage(settings_, text); }
    void positionsRead(std::size_t) override {}

private:
    AppSettings& settings_;
    AlertDispatch& alerts_;
};

// A broker that sells, and messengers that are the real drivers.
class SellingExecutor : public FakeExecutor {
public:
    using FakeExecutor::FakeExecutor;
    int sendFetionSms(const wchar_t* phone, const wchar_t* text) override {
        return messengers.sendFetionSms(phone, text);
    }
    int sendQqMessage(const wchar_t* title, const wchar_t* text) override {
        return messengers.sendQqMessage(title, text);
    }
    WindowMessengers messengers;
};

PositionRow falling(const wchar_t* code, const wchar_t* name) {
    PositionRow row;
    row.code = code;
    row.name = name;
    row.quantity = row.sellableQuantity = 1000;
    row.currentPrice = 9.0f;
    row.profitPercent = -8.0f;
    return row;
}

TEST(AlertChannels, TwoTriggersInOneCycleGiveTwoIntactMessagesOnEachMessengerInOrder) {
    MessengerProcess fetion(MessengerProcess::Kind::Fetion);
    MessengerProcess qq(MessengerProcess::Kind::Qq, {L"--nickname", L"提醒群"});
    ASSERT_TRUE(fetion.started() && qq.started());
    CallLog log;
    SellingExecutor executor(log);
    DefaultsProfile profile;
    AppSettings settings(profile);
    settings.phoneMessage = settings.qqMessage = settings.webhookMessage = 1;
    settings.phoneNumber = kPhone;
    settings.qqNickname = L"提醒群";
    settings.webhookUrl = L"http://127.0.0.1:1/send?key=SECRET";  // refused: journalled, not fatal
    AlertDispatch alerts(windowsAlertSenders(executor, WebhookTiming{300, 50}), nullptr);
    TwoTriggersEnvironment environment(settings, alerts);
    PositionSnapshotStore::instance()->clear();
    const PositionRows rows = {falling(L"600000", L"浦发银行"), falling(L"000001", L"平安银行")};
    PositionsByCode byCode;
    for (const PositionRow& row : rows) byCode[row.code] = row;
    PositionSnapshotStore::instance()->replacePositions(byCode, rows);
    RuleTable rules;
    for (const wchar_t* code : {L"600000", L"000001"}) {
        rules[code].Code = code;
        rules[code].StopLoss = 5;
        rules[code].High = 100;
    }
    MonitorCycle cycle(executor, *PositionSnapshotStore::instance(), environment, nullptr);
    EXPECT_EQ(cycle.run(rules, false).actions, 2);

    ASSERT_TRUE(fetion.waitForSent(2, 15000));
    ASSERT_TRUE(qq.waitForSent(2, 15000));
    EXPECT_TRUE(alerts.stop());
    for (const auto& sent : {fetion.sent(), qq.sent()}) {
        ASSERT_EQ(sent.size(), 2u);
        EXPECT_EQ(sent[0].text("text").rfind(L"浦发银行 在 ", 0), 0u)
            << halyard::toUtf8(sent[0].text("text"));
        EXPECT_NE(sent[0].text("text").find(L" 满足止损条件 已经执行卖出操作"), std::wstring::npos);
        EXPECT_EQ(sent[1].text("text").rfind(L"平安银行 在 ", 0), 0u);
        EXPECT_NE(sent[1].text("text").find(L" 满足止损条件 已经执行卖出操作"), std::wstring::npos);
    }
    PositionSnapshotStore::destroyInstance();
}

}  // namespace

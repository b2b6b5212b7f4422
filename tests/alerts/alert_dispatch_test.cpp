// The dispatch's one entry point for message alerts, and its journal of each send's outcome.
#include "alerts/alert_dispatch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <thread>
#include <vector>

#include "common/file_store.h"
#include "common/text_encoding.h"
#include "rules/trade_journal.h"
#include "support/temp_folder.h"

namespace {

using namespace std::chrono_literals;

class AlertDispatchTest : public ::testing::Test {
protected:
    AlertDispatchTest() : journal(folder.folder()) {
        senders.sms = [this](const AlertJob& job) {
            return record(L"sms " + job.recipient, L"交给飞信发送");
        };
        senders.qq = [this](const AlertJob& job) {
            return record(L"qq " + job.recipient, L"未找到QQ聊天窗口");
        };
        senders.webhook = [this](const WebhookTarget& target, const std::wstring&, const AlertPause& pause) {
            record(L"webhook " + target.url + L" " + target.secret, L"");
            WebhookResult result;
            result.kind = WebhookResult::Kind::NetworkError;
            result.systemError = 12029;
            result.attempts = pause(retryPauseMs) ? 2 : 1;
            return result;
        };
    }
    std::wstring record(const std::wstring& call, const std::wstring& outcome) {
        std::lock_guard<std::mutex> guard(lock);
        calls.push_back(call);
        return outcome;
    }
    size_t sent() {
        std::lock_guard<std::mutex> guard(lock);
        return calls.size();
    }
    void waitForSends(size_t count) {
        for (int i = 0; i < 500 && sent() < count; ++i) std::this_thread::sleep_for(10ms);
    }
    std::wstring journalText() {
        std::string bytes;
        halyard::readWholeFile(journal.path(), bytes);
        return halyard::fromUtf8(bytes);
    }

    TempFolder folder;
    TradeJournal journal;
    AlertSenders senders;
    std::mutex lock;
    std::vector<std::wstring> calls;
    unsigned retryPauseMs = 0;
};

TEST_F(AlertDispatchTest, OneRaiseReachesEveryChannelSwitchedOnAndJournalsWhatEachSendDid) {
    AlertOptions settings;
    settings.phoneNumber = L"13800000000";
    settings.qqNickname = L"alerts";
    settings.webhookUrl = L"https://robot.example/send?key=SECRET";
    settings.webhookSecret = L"SIGNKEY";
    AlertDispatch dispatch(senders, &journal);
    const struct {
        int sms, qq, webhook;
        std::vector<std::wstring> calls;
    } cases[] = {
        {1,
         1,
         1,
         {L"qq alerts", L"sms 13800000000", L"webhook https://robot.example/send?key=SECRET SIGNKEY"}},
        {0, 1, 0, {L"qq alerts"}},
        {1, 0, 1, {L"sms 13800000000", L"webhook https://robot.example/send?key=SECRET SIGNKEY"}},
        {0, 0, 0, {}}};
    for (const auto& c : cases) {
        calls.clear();
        settings.phoneMessage = c.sms;
        settings.qqMessage = c.qq;
        settings.webhookMessage = c.webhook;
        dispatch.raiseMessage(settings, L"止损");
        waitForSends(c.calls.size());
        std::this_thread::sleep_for(20ms);
        std::lock_guard<std::mutex> guard(lock);
        std::sort(calls.begin(), calls.end());
        EXPECT_EQ(calls, c.calls) << c.sms << c.qq << c.webhook;
    }
    EXPECT_TRUE(dispatch.stop());
    const std::wstring text = journalText();
    for (const wchar_t* line :
         {L" 提醒 短信 交给飞信发送 13800000000: 止损", L" 提醒 QQ 未找到QQ聊天窗口 alerts: 止损",
          L" 提醒 群机器人 网络错误 12029 无法连接 (已重试) https://robot.example/send?key=***: 止损"})
        EXPECT_NE(text.find(line), std::wstring::npos) << halyard::toUtf8(line);
    EXPECT_EQ(text.find(L"SECRET"), std::wstring::npos);
    EXPECT_EQ(text.find(L"SIGNKEY"), std::wstring::npos);
}

TEST_F(AlertDispatchTest, RepeatsWaitForNewsOrTheirReminderAndAPushServiceKeepsItsDailyBudget) {
    AlertOptions settings;
    EXPECT_EQ(settings.pushDailyLimit, DailyBudget::kDefault);  // as a first start reads it
    settings.phoneMessage = settings.webhookMessage = settings.pushDailyLimit = 1;
    settings.webhookFormat = static_cast<int>(WebhookFormat::PushPlus);
    settings.webhookUrl = L"0123abcd";
    int64_t now = 0;
    AlertDispatch dispatch(senders, &journal, AlertClock{[&now] { return now; }, [] { return 1; }});
    using Kind = AlertSubject::Kind;
    const int64_t reminder = RepeatFilter::kReminderMs;
    const struct {
        int64_t at;
        bool newRound;
        const wchar_t* code;
        Kind kind;
        size_t sends;  // in all, SMS and the push service
    } steps[] = {{0, false, L"600000", Kind::AlertOnly, 2},
                 {6000, true, L"600000", Kind::AlertOnly, 2},
                 {6000, false, L"000001", Kind::NotSold, 4},  // another stock, past the budget
                 {reminder - 1, true, L"600000", Kind::AlertOnly, 4},
                 {reminder, true, L"600000", Kind::AlertOnly, 5},  // the reminder: not to the push service
                 {reminder, true, L"000001", Kind::NotSold, 7},    // gone a round and back
                 {reminder, false, L"000001", Kind::Sold, 9},      // what is said changed
                 {reminder, false, L"", Kind::Report, 10}};        // held by the budget
    for (const auto& step : steps) {
        now = step.at;
        if (step.newRound) dispatch.beginRound();
        dispatch.raiseMessage(settings, L"止损", AlertSubject{step.code, L"满足止损条件", step.kind});
        waitForSends(step.sends);
        std::this_thread::sleep_for(20ms);
        EXPECT_EQ(sent(), step.sends) << step.at;
    }
    EXPECT_TRUE(dispatch.stop());
    EXPECT_NE(journalText().find(L"提醒 群机器人 今日已发 1 条, 未发送 PushPlus ***: 止损"),
              std::wstring::npos);
    SendWindow window(2, 60000);  // a robot's pace
    const int64_t paced[][2] = {{0, 0}, {1000, 0}, {2000, 58000}, {60000, 0}, {60500, 500}, {61000, 0}};
    for (const auto& [at, wait] : paced) {
        EXPECT_EQ(window.waitMs(at), wait) << at;
        if (wait == 0) window.record(at);
    }
}

TEST_F(AlertDispatchTest, AFullQueueDropsTheOldestAtExitTheWaitingAreJournalledAndAPauseIsCutShort) {
    retryPauseMs = 60000;
    AlertDispatch dispatch(senders, &journal);
    WebhookTarget target{L"https://robot.example/hook/SECRET", WebhookFormat::Feishu, L""};
    int attempts = 0;
    dispatch.startWebhookAlert(target, L"第一条",
                               [&](const WebhookResult& result) { attempts = result.attempts; });
    dispatch.startWebhookAlert(target, L"第二条");
    waitForSends(1);
    for (int i = 0; i < 100; ++i) dispatch.startWebhookAlert(target, L"更多");  // the 101st waiting
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(dispatch.stop());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    EXPECT_EQ(attempts, 1);  // no retry once the program ends
    const std::wstring text = journalText();
    EXPECT_NE(text.find(L"提醒 群机器人 网络错误 12029 无法连接 https://robot.example/hook/***: 第一条"),
              std::wstring::npos)
        << halyard::toUtf8(text);
    EXPECT_NE(text.find(L"提醒 群机器人 队列已满,未发送 https://robot.example/hook/***: 第二条"),
              std::wstring::npos);
    EXPECT_NE(text.find(L"提醒 群机器人 程序退出,未发送 https://robot.example/hook/***: 更多"),
              std::wstring::npos);
}

}  // namespace

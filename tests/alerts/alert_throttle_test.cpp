// What the message channels send of a condition that holds, a robot's pace and a push
// service's day.
#include "alerts/alert_throttle.h"

#include <gtest/gtest.h>

namespace {

using Kind = AlertSubject::Kind;
constexpr int64_t kMinute = 60000;

TEST(AlertThrottle, ARepeatGoesOutOnlyAsNewsOrAsAReminderEveryTenMinutes) {
    const struct {
        bool newRound;
        const wchar_t* code;
        Kind kind;
        int64_t at;
        bool send, reminder;
        AlertUrgency urgency;
    } steps[] = {
        {false, L"600000", Kind::AlertOnly, 0, true, false, AlertUrgency::Normal},
        {true, L"600000", Kind::AlertOnly, 6000, false, false, AlertUrgency::Normal},
        {false, L"000001", Kind::NotSold, 6000, true, false, AlertUrgency::Urgent},  // another stock
        {true, L"600000", Kind::AlertOnly, 9 * kMinute, false, false, AlertUrgency::Normal},
        {true, L"600000", Kind::AlertOnly, 10 * kMinute, true, true, AlertUrgency::Reminder},
        {true, L"600000", Kind::AlertOnly, 11 * kMinute, false, false, AlertUrgency::Normal},
        {true, L"000001", Kind::NotSold, 11 * kMinute, true, false, AlertUrgency::Urgent},  // gone and back
        {false, L"000001", Kind::Sold, 11 * kMinute, true, false,
         AlertUrgency::Urgent},  // what is said changed
        {false, L"000001", Kind::Sold, 11 * kMinute, true, false, AlertUrgency::Urgent},  // a new order
        {false, L"", Kind::Notice, 11 * kMinute, true, false, AlertUrgency::Urgent},
        {false, L"", Kind::Notice, 11 * kMinute, true, false, AlertUrgency::Urgent},
    };
    RepeatFilter filter;
    int step = 0;
    for (const auto& s : steps) {
        if (s.newRound) filter.beginRound();
        const AlertVerdict verdict = filter.judge(AlertSubject{s.code, L"满足止损条件", s.kind}, s.at);
        EXPECT_EQ(verdict.send, s.send) << step;
        EXPECT_EQ(verdict.reminder, s.reminder) << step;
        if (s.send) {
            EXPECT_EQ(verdict.urgency, s.urgency) << step;
        }
        EXPECT_EQ(verdict.beyondBudget, s.send && s.urgency == AlertUrgency::Urgent) << step;
        ++step;
    }
}

TEST(AlertThrottle, ARobotsWindowAndAPushServicesDay) {
    SendWindow window(2, kMinute);
    const struct {
        int64_t at, wait;
    } sends[] = {{0, 0}, {1000, 0}, {2000, 58000}, {60000, 0}, {60500, 500}, {61000, 0}};
    for (const auto& s : sends) {
        EXPECT_EQ(window.waitMs(s.at), s.wait) << s.at;
        if (s.wait == 0) window.record(s.at);
    }
    DailyBudget budget;
    const struct {
        int day, limit;
        bool beyond, taken;
    } takes[] = {{1, 2, false, true}, {1, 2, false, true}, {1, 2, false, false},
                 {1, 2, true, true},  {2, 2, false, true}, {3, 0, false, true}};
    for (const auto& t : takes) EXPECT_EQ(budget.take(t.day, t.limit, t.beyond), t.taken) << t.day;
    EXPECT_EQ(DailyBudget::effective(0), 50);
    EXPECT_EQ(DailyBudget::effective(500), 200);
}

}  // namespace

#pragma once
// Which message alerts go out, so that a condition that holds does not flood the channels: the
// first alert of a stock and condition, then news (sold, not sold, gone and back) or a reminder
// every 10 minutes. Also the pace of one robot and the day's budget of a push service.
// Portable policy only: the dispatch applies it.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <string>

#include "rules/alert_subject.h"

// Where a message waits on its channel's queue: the more urgent goes first.
enum class AlertUrgency { Reminder = 0, Normal = 1, Urgent = 2 };

struct AlertVerdict {
    bool send = false;
    bool reminder = false;
    AlertUrgency urgency = AlertUrgency::Normal;
    // Sale and contact news go out even once a push service's day is spent.
    bool beyondBudget = false;
};

class RepeatFilter {
public:
    static constexpr int64_t kReminderMs = 10 * 60 * 1000;

    // A new monitor round: a stock and condition not raised in the round before has gone, and
    // when it triggers again it is news.
    void beginRound();
    AlertVerdict judge(const AlertSubject& subject, int64_t nowMs);

private:
    struct Said {
        AlertSubject::Kind kind;
        int64_t sentMs;
        bool raisedThisRound;
    };
    std::map<std::wstring, Said> said_;
};

// At most `limit` sends within any `windowMs`.
class SendWindow {
public:
    SendWindow(std::size_t limit, int64_t windowMs) : limit_(limit), windowMs_(windowMs) {}
    // 0 when a send may go now, otherwise how long until one may.
    int64_t waitMs(int64_t nowMs);
    void record(int64_t nowMs);

private:
    std::size_t limit_;
    int64_t windowMs_;
    std::deque<int64_t> sent_;
};

// A push service's messages of one day.
class DailyBudget {
public:
    static constexpr int kDefault = 50;
    static constexpr int kMost = 200;  // past this PushPlus bans the account for days

    // False when the message is held back: the day's budget is spent and it may not go beyond.
    bool take(int day, int budget, bool beyondBudget);
    // The budget a stored setting stands for.
    static int effective(int stored);

private:
    int day_ = -1;
    int used_ = 0;
};

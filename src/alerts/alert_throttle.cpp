#include "alerts/alert_throttle.h"

#include <algorithm>

namespace {

bool isUrgent(AlertSubject::Kind kind) {
    return kind == AlertSubject::Kind::Notice || kind == AlertSubject::Kind::Sold ||
           kind == AlertSubject::Kind::NotSold;
}

AlertVerdict news(AlertSubject::Kind kind) {
    AlertVerdict verdict;
    verdict.send = true;
    verdict.urgency = isUrgent(kind) ? AlertUrgency::Urgent : AlertUrgency::Normal;
    verdict.beyondBudget = isUrgent(kind);
    return verdict;
}

}  // namespace

void RepeatFilter::beginRound() {
    for (auto at = said_.begin(); at != said_.end();) {
        if (!at->second.raisedThisRound) {
            at = said_.erase(at);
        } else {
            at->second.raisedThisRound = false;
            ++at;
        }
    }
}

AlertVerdict RepeatFilter::judge(const AlertSubject& subject, int64_t nowMs) {
    if (subject.code.empty()) return news(subject.kind);
    const std::wstring key = subject.code + L'\x1f' + subject.condition;
    auto found = said_.find(key);
    // A sale that went in is always news: a new order of that stock.
    if (found == said_.end() || found->second.kind != subject.kind ||
        subject.kind == AlertSubject::Kind::Sold) {
        said_[key] = Said{subject.kind, nowMs, true};
        return news(subject.kind);
    }
    found->second.raisedThisRound = true;
    if (nowMs - found->second.sentMs < kReminderMs) return AlertVerdict();
    found->second.sentMs = nowMs;
    AlertVerdict verdict;
    verdict.send = true;
    verdict.reminder = true;
    verdict.urgency = AlertUrgency::Reminder;
    return verdict;
}

int64_t SendWindow::waitMs(int64_t nowMs) {
    while (!sent_.empty() && nowMs - sent_.front() >= windowMs_) sent_.pop_front();
    if (sent_.size() < limit_) return 0;
    return sent_.front() + windowMs_ - nowMs;
}

void SendWindow::record(int64_t nowMs) {
    sent_.push_back(nowMs);
}

bool DailyBudget::take(int day, int budget, bool beyondBudget) {
    if (day != day_) {
        day_ = day;
        used_ = 0;
    }
    if (used_ >= effective(budget) && !beyondBudget) return false;
    ++used_;
    return true;
}

int DailyBudget::effective(int stored) {
    return stored <= 0 ? kDefault : std::min(stored, kMost);
}

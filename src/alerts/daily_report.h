#pragma once
// The 每日运行报告: so that a user away from the desk can tell "nothing triggered" from "not
// running", each trading day (Monday to Friday) brings one message from 09:20 saying whether
// Halyard is ready, and one from 15:05 summing up the day. Fed by the main window's timer and
// the monitor's events; it decides what is due and keeps the day's counts, nothing more.
#include <cstddef>
#include <ctime>
#include <string>

#include "rules/monitor_cycle.h"

// What the ready message reports.
struct ReadyState {
    bool monitoring = true;
    bool connected = false;
    std::wstring brokerName;
    std::wstring connectionError;
    std::size_t ruleCount = 0;
};

struct DayCounts {
    int triggers = 0;
    int salesSubmitted = 0;
    int salesNotSubmitted = 0;
    int salesConfirmed = 0;
    int salesUnconfirmed = 0;
    int contactLosses = 0;
};

class DailyReport {
public:
    static constexpr int kReadyMinute = 9 * 60 + 20;
    static constexpr int kSummaryMinute = 15 * 60 + 5;

    void count(MonitorEvent event, const std::tm& now);
    // The message due at `now`, or empty. The ready message is due once a trading day from 09:20
    // until the close (a later start still says so); the summary once from 15:05 when Halyard
    // ran before it that day.
    std::wstring due(const std::tm& now, const ReadyState& state);
    const DayCounts& counts() const { return counts_; }

private:
    void turnDay(const std::tm& now);

    int day_ = -1;
    DayCounts counts_;
    bool readySent_ = false;
    bool summarySent_ = false;
    bool ranBeforeClose_ = false;
};

std::wstring readyText(const ReadyState& state);
std::wstring summaryText(const DayCounts& counts);

#pragma once
// What the monitor reaches outside itself in the program: the alerts with their channel workers,
// the settings and the clock. Its events are counted for the daily report, which goes from here.
#include <memory>

#include "alerts/alert_dispatch.h"
#include "alerts/daily_report.h"
#include "rules/monitor_cycle.h"
#include "rules/trade_journal.h"

class MonitorSession;
class OrderExecutor;

class MonitorOutside : public MonitorEnvironment {
public:
    // `processExecutor`: the process-wide executor, which is handed the messenger drivers.
    MonitorOutside(OrderExecutor& executor, bool processExecutor)
        : executor_(executor), processExecutor_(processExecutor) {}

    void setJournal(TradeJournal& journal) { journal_ = &journal; }
    void setIntervalSeconds(int seconds) { intervalSeconds_ = seconds; }
    // Created on first use over the executor.
    AlertDispatch& alerts();
    // False when a send still runs past its budget: it keeps the executor it drives.
    bool stopAlerts() { return !alerts_ || alerts_->stop(); }
    // Each tick, monitoring or not: the daily report's message when one is due and switched on.
    void sendDueDailyReport(MonitorSession& session);

    const AlertOptions& alertSettings() override;
    std::tm localTime() override { return currentLocalTime(); }
    void playAlertSound(const std::wstring& file) override { alerts().playAlertSound(file); }
    void raiseMessageAlert(const std::wstring& text) override;
    void raiseMessageAlertAbout(const std::wstring& text, const AlertSubject& subject) override;
    // Each cycle is a round of the alerts: a condition no longer raised has gone.
    void positionsRead(std::size_t) override { alerts().beginRound(); }
    uint32_t monitorIntervalMs() override { return static_cast<uint32_t>(intervalSeconds_) * 1000u; }
    void monitorEvent(MonitorEvent event) override { dailyReport_.count(event, currentLocalTime()); }

private:
    bool detectionRunning() const;

    OrderExecutor& executor_;
    bool processExecutor_;
    TradeJournal* journal_ = nullptr;
    int intervalSeconds_ = 6;
    std::unique_ptr<AlertDispatch> alerts_;
    DailyReport dailyReport_;
};

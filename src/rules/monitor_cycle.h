#pragma once
// One monitor cycle: re-read the positions, evaluate each held stock's rule and act on a
// trigger through the executor (chase or leave a pending sell, sound, sell, message alerts).
// Portable: the main window supplies the executor, the snapshot store and its environment.
#include <cstddef>
#include <ctime>
#include <string>

#include "rules/alert_options.h"
#include "rules/stock_rule.h"

class OrderExecutor;
class PositionSnapshotStore;
class TradeJournal;

// 9:15-11:30 and 13:00-14:59 local time, every day of the week.
bool withinTradingHours(const std::tm& localTime);

// What the cycle reaches besides the executor. Alerts return at once.
class MonitorEnvironment {
public:
    virtual ~MonitorEnvironment() = default;
    // Asked for only when a rule triggers (the settings are loaded on first use).
    virtual const AlertOptions& alertSettings() = 0;
    virtual std::tm localTime() = 0;
    virtual void playAlertSound(const std::wstring& file) = 0;
    // The text on every message channel the user switched on (SMS, QQ, group robot); each
    // send's outcome is journalled by the channel.
    virtual void raiseMessageAlert(const std::wstring& text) = 0;
    // Called once per cycle with the number of positions copied, before any rule is evaluated.
    virtual void positionsRead(std::size_t count) = 0;
};

struct MonitorCycleResult {
    std::size_t positionCount = 0;
    int actions = 0;  // triggers acted on (alerts raised)
    // A High moved or a trailing stop was armed: the caller saves the rules.
    bool rulesChanged = false;
};

class MonitorCycle {
public:
    MonitorCycle(OrderExecutor& executor, PositionSnapshotStore& store, MonitorEnvironment& environment,
                 TradeJournal* journal)
        : executor_(executor), store_(store), environment_(environment), journal_(journal) {}

    MonitorCycleResult run(RuleTable& rules, bool traceOrder);

private:
    OrderExecutor& executor_;
    PositionSnapshotStore& store_;
    MonitorEnvironment& environment_;
    TradeJournal* journal_;
};

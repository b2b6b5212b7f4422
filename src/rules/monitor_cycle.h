#pragma once
// One monitor cycle: re-read the positions, evaluate each held stock's rule and act on a
// trigger through the executor (chase or leave a pending sell, sound, sell, message alerts).
// Portable: the main window supplies the executor, the snapshot store and its environment.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "broker/position_snapshot_store.h"
#include "rules/alert_options.h"
#include "rules/alert_subject.h"
#include "rules/monitor_state.h"
#include "rules/stock_rule.h"
#include "rules/trigger_evaluation.h"

class ClientContact;
class OrderExecutor;
class PositionSnapshotStore;
class TradeJournal;

// 9:15-11:30 and 13:00-14:59 local time, every day of the week.
bool withinTradingHours(const std::tm& localTime);
// 14:57-15:00: the exchanges take no cancels.
bool cancelsClosed(const std::tm& localTime);

// What the day's report counts: triggers acted on, sales the executor submitted or did not,
// submitted sales a later read confirmed or never showed, and each loss of contact.
enum class MonitorEvent {
    Trigger,
    SaleSubmitted,
    SaleNotSubmitted,
    SaleConfirmed,
    SaleUnconfirmed,
    ContactLost
};

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
    // The same, told what the alert is about: the channels then send a repeat only as a
    // reminder. An environment that does not tell repeats apart sends every one.
    virtual void raiseMessageAlertAbout(const std::wstring& text, const AlertSubject&) {
        raiseMessageAlert(text);
    }
    // Called once per cycle with the number of positions copied, before any rule is evaluated.
    virtual void positionsRead(std::size_t count) = 0;
    // A monotonic millisecond clock (the watch paces its reconnections by it).
    virtual uint32_t tickMs();
    // The period of the monitor's timer: rows older than two of them and 10 s decide nothing.
    virtual uint32_t monitorIntervalMs() { return 6000; }
    // The contact with the client changed or is about to be tried again (before a connect,
    // which blocks for seconds: the window shows it first).
    virtual void contactChanged(const ContactStatus&) {}
    // The client waits for the investor (a captcha): the window shows it at once.
    virtual void clientAsksInvestor(const std::wstring&) {}
    // A connect made by the watch succeeded (the columns of the configuration are checked).
    virtual void reconnected() {}
    virtual void monitorEvent(MonitorEvent) {}
};

inline constexpr const wchar_t* kContactLostAlert = L"Halyard 已与券商软件断开, 止损暂停";
inline constexpr const wchar_t* kContactBackAlert = L"Halyard 已重新连接券商软件";

// Whether a notice the client raised after an order says the order was refused.
bool noticeRefusesOrder(const std::wstring& notice);

struct MonitorCycleResult {
    std::size_t positionCount = 0;
    int actions = 0;  // triggers acted on (alerts raised)
    // A High moved or a trailing stop was armed: the caller saves the rules.
    bool rulesChanged = false;
    // What the monitor knows of the stocks with rules changed: the caller saves the sightings.
    bool sightingsChanged = false;
};

class MonitorCycle {
public:
    // Without a state the cycle remembers nothing (a fresh one each run); without a contact no
    // pop-up texts reach the journal.
    MonitorCycle(OrderExecutor& executor, PositionSnapshotStore& store, MonitorEnvironment& environment,
                 TradeJournal* journal, MonitorState* state = nullptr, ClientContact* contact = nullptr)
        : executor_(executor),
          store_(store),
          environment_(environment),
          journal_(journal),
          state_(state ? *state : ownState_),
          contact_(contact) {}

    MonitorCycleResult run(RuleTable& rules, bool traceOrder);
    // Outside trading hours: only the connection watch (a morning restart is caught before 9:15).
    void watchOnly();

private:
    // True when the connection holds (or was made again in this cycle).
    bool keepInContact(bool tradingHours);
    bool tryConnect(bool firstLook);
    // After a read: a read that failed is a loss of contact though the client's windows stay.
    // True when the rows are recent enough to act on.
    bool watchReads(bool tradingHours);
    void readsBack();
    void contactBack(const std::wstring& line);
    void connectionAlert(const wchar_t* text);
    // The client's notices since the last call, into the journal (what it asks of the investor
    // also shown and alerted); returned for a look at them.
    std::vector<std::wstring> journalNotices();
    // True when the rows are a read this cycle has not seen before.
    bool afterRead(const PositionRows& rows);
    void checkPendingSales(const PositionRows& rows);
    // `sellableBefore`: what the client showed sellable just before the sale.
    void noteSale(const PositionRow& row, int32_t sellableBefore);
    // True when the trigger was acted on (alerts raised).
    bool act(const PositionRow& row, const StockRule& rule, TriggerKind kind, bool traceOrder);
    // Sound, sale and message alerts of a trigger; the alert text ends with `tail`.
    bool alertAndSell(const PositionRow& row, const StockRule& rule, TriggerKind kind, int32_t sellableBefore,
                      const std::wstring& tail);
    // True when the executor and the client's notices accepted the sale.
    bool sellOnTrigger(const PositionRow& row, const StockRule& rule, int32_t sellableBefore);
    float triggerPrice(const PositionRow& row, const StockRule& rule);
    // 追单 of Halyard's own order that freezes the whole holding at a higher price than the
    // rule would sell at now. True when it was sold again.
    bool chaseOwnOrder(const PositionRow& row, const StockRule& rule, TriggerKind kind);
    // After a cancel: what the client shows sellable (re-read), else the row's and the order's.
    int32_t sellableAfterCancel(const PositionRow& row, int32_t cancelled);
    // From 14:57 an order cannot be cancelled: journalled once a day per stock, and the alert
    // tail that says so (empty after the first time that day).
    std::wstring orderStays(const PositionRow& row, int32_t pending);
    void markNoSlip(const std::wstring& code, const std::wstring& reason);
    // The reason of a mark made today; a sale that reaches the client uses it up.
    std::optional<std::wstring> noSlipReason(const std::wstring& code);
    int today();
    // A stock shown sold (and bought again) starts afresh: its rule's High and armed trailing
    // stop belong to the shares that were sold. True when a rule changed.
    bool forgetHighsOfStocksSold(RuleTable& rules, const PositionRows& rows);
    // The evidence of a sale the read gives, if any, as the journal says it.
    std::wstring sightedHeld(StockSighting& seen, const PositionRow& row);
    std::wstring sightedMissing(StockSighting& seen, bool showsOthers);
    void journalUnreadableCells(const PositionRows& rows);
    // False when a cell the rule needs could not be read; after 60 s of that in trading hours
    // one alert.
    bool watchReadable(const PositionRow& row, const StockRule& rule, bool tradingHours);
    void note(const std::wstring& line);
    ContactStatus status(ContactStatus::Kind kind) const;

    OrderExecutor& executor_;
    PositionSnapshotStore& store_;
    MonitorEnvironment& environment_;
    TradeJournal* journal_;
    MonitorState ownState_;
    MonitorState& state_;
    ClientContact* contact_;
    // Sales the executor held back in this cycle (the spacing of orders).
    uint32_t heldBackSales_ = 0;
};

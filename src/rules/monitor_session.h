#pragma once
// The monitor as the main window runs it: the rules, what the monitor remembers, their file and
// the journal; the trading-hours gate, when the rules are written, 全平 and 全撤 in steps and the
// test sale. Only one of a cycle and a command step runs at a time (executor calls pump the
// window's messages, so a timer may come in the middle of one).
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "rules/command_run.h"
#include "rules/monitor_cycle.h"
#include "rules/monitor_state.h"
#include "rules/monitor_view.h"
#include "rules/rule_editor_fields.h"
#include "rules/rule_file_saver.h"
#include "rules/stock_rule.h"
#include "rules/trade_journal.h"

class ClientContact;
class OrderExecutor;
class PositionSnapshotStore;

class MonitorSession {
public:
    // `outside` gives the alerts, the settings, the clock and takes the monitor's events.
    MonitorSession(std::wstring folder, OrderExecutor& executor, PositionSnapshotStore& store,
                   MonitorEnvironment& outside, MonitorView& view);
    ~MonitorSession();
    MonitorSession(const MonitorSession&) = delete;
    MonitorSession& operator=(const MonitorSession&) = delete;

    // Returns what kept the rule file from being read (empty when it was); nothing is then
    // written over it until the user changes a rule.
    std::wstring loadRules();
    // Returns once Stock_Config.xml holds the rules (exit, end of the Windows session).
    void saveRules() { ruleSaver_.saveAndWait(rules_); }
    void waitForRuleFile() { ruleSaver_.waitUntilWritten(); }
    RuleTable& rules() { return rules_; }
    TradeJournal& journal() { return journal_; }
    const MonitorState& state() const { return state_; }

    bool running() const { return running_; }
    void setRunning(bool running) { running_ = running; }
    void setTraceOrder(bool traceOrder) { traceOrder_ = traceOrder; }

    // The monitor's timer: the rules' file, then a cycle in trading hours and only the watch of
    // the contact outside them, nothing while stopped, while a command or a detection runs.
    void tick(const std::tm& localTime);
    // The first cycle after start-up, in or out of trading hours.
    void startUpCycle() { runCycle(); }

    bool commandRunning() const { return commandRun_ != nullptr; }
    // Starts 全平 (全撤) with its first step: true while it runs on, for the command timer; false
    // when another one runs or it is already over.
    bool closeAll();
    bool cancelAll();
    // The command timer: false once the command is over (its summary then follows).
    bool stepCommand();
    // The +5 % sale of a row of the positions list, and the cancel of its first sell order.
    void sellAtTestPrice(std::size_t row);
    void cancelSellOrderOf(std::size_t row);
    void storeEditedRule(const std::wstring& code, const RuleEditorFields& fields, float currentPrice);

    // The contact as the status line shows it (at start-up the window's own check finds it).
    void showContact(const ContactStatus& status);
    void showClientRequest(const std::wstring& notice);
    // The own columns the rules need and the configuration in use lacks: journalled, returned.
    std::wstring checkColumns();

private:
    class CycleEnvironment;
    struct Request {
        enum class Kind { RefreshList, RepaintList, Message, ColumnsMessage } kind;
        std::wstring text;
    };

    bool busy() const;
    // Journals (and alerts, when they stopped) that the rule file's writes stopped or work again.
    void ruleFileWrites(bool working);
    bool detectionRunning() const;
    ClientContact* contact() const;
    void runCycle();
    bool startCommand(std::unique_ptr<CommandRun> run);
    void afterCommand();
    bool priceReadable(const PositionRow& row);
    void reconnected();
    void queue(Request::Kind kind, std::wstring text = {}) { requests_.push_back({kind, std::move(text)}); }
    // What re-enters the window, once no cycle or step runs.
    void handOver();
    void deliver(const Request& request);

    const std::wstring folder_;
    OrderExecutor& executor_;
    PositionSnapshotStore& store_;
    MonitorEnvironment& outside_;
    MonitorView& view_;
    std::unique_ptr<CycleEnvironment> environment_;
    RuleTable rules_;
    MonitorState state_;
    RuleFileSaver ruleSaver_;
    TradeJournal journal_;
    std::unique_ptr<CommandRun> commandRun_;
    bool running_ = true;
    bool traceOrder_ = false;
    bool inCycle_ = false;
    ContactStatus shownStatus_;
    // What the client last asked of the investor (a captcha), beside the contact for a while.
    std::wstring clientRequest_;
    uint32_t clientRequestSinceMs_ = 0;
    std::wstring missingColumns_;
    bool columnsMessageOpen_ = false;
    std::vector<Request> requests_;
};

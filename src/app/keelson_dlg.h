#pragma once
// The main window "Halyard" (dialog 102): the position list with each stock's rule, the
// monitor's timers, start/stop, 全平, 全撤, the +5 % test sale and the rule editor. It owns the
// rule table and, for the process, the executor and the snapshot store.
#include <windows.h>

#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "alerts/alert_dispatch.h"
#include "alerts/daily_report.h"
#include "app/help_link.h"
#include "framework/dialog.h"
#include "framework/icon.h"
#include "framework/image_button.h"
#include "framework/tool_tip.h"
#include "rules/command_run.h"
#include "rules/monitor_cycle.h"
#include "rules/rule_file_saver.h"
#include "rules/stock_rule.h"
#include "rules/trade_journal.h"
#include "widgets/my_link_ctrl.h"
#include "widgets/my_list_ctrl.h"

class OrderExecutor;
class SettingsProfile;

class CKeelsonDlg : public halyard::Dialog {
public:
    static constexpr UINT_PTR kMonitorTimer = 1;
    static constexpr UINT_PTR kToolTipTimer = 2;
    // The steps of 全平 and 全撤: one read, sale or cancel each, the executor spacing the sales.
    static constexpr UINT_PTR kCommandTimer = 3;
    // Posted to itself: show the missing-columns message once the cycle that connected is over.
    static constexpr UINT kColumnsMessage = WM_APP + 0x40;

    // `folder` holds Stock_Config.xml and the journal (the executable's folder in the program).
    // Without an executor the process-wide ZsZqOrderExecutor is used and deleted at teardown.
    CKeelsonDlg(SettingsProfile& profile, std::wstring folder, OrderExecutor* executor = nullptr);
    ~CKeelsonDlg() override;

    void refreshList();
    void updateRunButton();
    void runMonitorCycle();
    void loadRules();
    // Writes Stock_Config.xml now and returns once it is on disk (exit, end of session).
    void saveRules();
    // Returns once every save handed to the rule file's writer is on disk.
    void waitForRuleFile() { ruleSaver_.waitUntilWritten(); }

    RuleTable rules;
    static constexpr int kShortestInterval = 3;
    static constexpr int kLongestInterval = 60;
    int monitorInterval = 6;
    BOOL running = TRUE;
    BOOL traceOrder = FALSE;
    bool initializing = false;
    BOOL neverFoundValidBroker = TRUE;
    int contextRow = -1;

    // Text of one cell of the position list (columns of the list's header), for a row and the
    // rule of its code (null without one).
    static std::wstring cellText(const PositionRow& row, const StockRule* rule, int column);

protected:
    void doDataExchange(halyard::DataExchange& exchange) override;
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;
    void onOK() override;
    void onCancel() override;
    bool onNotify(int id, NMHDR& header, LRESULT& result) override;
    void onTimer(UINT_PTR timerId) override;
    bool onSysCommand(WPARAM command, LPARAM lParam) override;
    bool onPaint() override;
    HICON onQueryDragIcon() override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    class Environment : public MonitorEnvironment {
    public:
        explicit Environment(CKeelsonDlg& owner) : owner_(owner) {}
        const AlertOptions& alertSettings() override;
        std::tm localTime() override;
        void playAlertSound(const std::wstring& file) override;
        void raiseMessageAlert(const std::wstring& text) override;
        void raiseMessageAlertAbout(const std::wstring& text, const AlertSubject& subject) override;
        void positionsRead(std::size_t count) override;
        uint32_t monitorIntervalMs() override;
        void contactChanged(const ContactStatus& status) override;
        void clientAsksInvestor(const std::wstring& notice) override;
        void reconnected() override;
        void monitorEvent(MonitorEvent event) override;

    private:
        CKeelsonDlg& owner_;
    };

    OrderExecutor& executor();
    // Created on first use over the executor, with the messenger drivers handed to it.
    AlertDispatch& alerts();
    void openAlertSettings();
    // Each tick, monitoring or not: the daily report's message when one is due and switched on.
    void sendDueDailyReport();
    void attachControls();
    // One message and the journal for a rule or configuration file that is there but unreadable.
    void tellUnreadableFiles();
    void checkBrokerClient();
    void openBrokerSettings();
    // After a change of the configuration in use: connect again and show how that went.
    void reconnectBroker();
    void runStartupDetection();
    bool detectionRunning();
    void addAboutMenuItem();
    void insertColumns();
    void startMonitorTimer();
    // The period of the monitor's timer (a hand-edited interval is kept within 1 s and a day).
    int timerSeconds() const;
    void showToolTips();
    void showAbout();
    void fillCellText(NMLVDISPINFOW& info);
    void showContextMenu(const NMITEMACTIVATE& click);
    void editRule();
    void closeAll();
    void cancelAll();
    void startCommand(std::unique_ptr<CommandRun> run);
    void stepCommand();
    void showStatusLine(const std::wstring& text);
    void sellContextRowAtTestPrice();
    void cancelContextRowOrder();
    void afterCommand();
    // A valid interval typed without Enter counts as confirmed; an invalid one is dropped.
    void keepTypedInterval();
    // What exit saves: the three settings and the rules (the configurations save themselves).
    void saveSettingsAndRules();
    void saveForSessionEnd();
    void journalClientNotices();
    // Commands refuse rows whose price could not be read: the order would go out at whatever
    // the client's form holds. Returns whether the row may be sold.
    bool priceReadable(const PositionRow& row, std::vector<std::wstring>& refused);
    void showRefusedRows(const std::vector<std::wstring>& refused);
    void showContactStatus(const ContactStatus& status);
    // After every successful connect: the own columns the rules need and the configuration lacks.
    void checkColumns(bool atStartUp);

    SettingsProfile& profile_;
    std::wstring folder_;
    RuleFileSaver ruleSaver_;
    OrderExecutor* injectedExecutor_;
    TradeJournal journal_;
    Environment environment_{*this};
    std::unique_ptr<AlertDispatch> alerts_;
    bool cycleRunning_ = false;
    // While 全平 or 全撤 runs, the status line shows its progress and no monitor cycle runs.
    std::unique_ptr<CommandRun> commandRun_;
    ContactStatus shownStatus_;
    // What the client last asked of the investor, beside the contact for a while.
    std::wstring clientRequest_;
    DWORD clientRequestSinceMs_ = 0;
    MonitorState monitorState_;
    DailyReport dailyReport_;
    std::wstring missingColumns_;
    std::wstring ruleFileTrouble_;
    bool columnsMessageOpen_ = false;
    bool started_ = false;

    halyard::UniqueIcon icon_;
    halyard::UniqueIcon smallIcon_;
    halyard::UniqueIcon stoppedIcon_;
    halyard::UniqueIcon runningIcon_;
    halyard::UniqueIcon alertIcon_;
    halyard::UniqueIcon brokerIcon_;
    CMyListCtrl positionList_;
    CMyLinkCtrl supportLink_;
    HelpLink helpLink_;
    halyard::ToolTip toolTips_;
    halyard::ImageButton runButton_;
    halyard::ImageButton alertSettingsButton_;
    halyard::ImageButton brokerSettingsButton_;
};

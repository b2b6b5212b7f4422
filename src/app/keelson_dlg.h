#pragma once
// The main window "Halyard" (dialog 102): the position list with each stock's rule, the
// monitor's timers, start/stop, 全平, 全撤, the +5 % test sale and the rule editor. It holds the
// monitor session (and so the rules) and, for the process, the executor and the snapshot store.
#include <windows.h>

#include <memory>
#include <string>

#include "app/broker_client_link.h"
#include "app/help_link.h"
#include "app/monitor_outside.h"
#include "framework/dialog.h"
#include "framework/icon.h"
#include "framework/image_button.h"
#include "framework/tool_tip.h"
#include "rules/monitor_session.h"
#include "rules/monitor_view.h"
#include "widgets/my_link_ctrl.h"
#include "widgets/my_list_ctrl.h"

class OrderExecutor;
class SettingsProfile;

class CKeelsonDlg : public halyard::Dialog, private MonitorView {
public:
    static constexpr UINT_PTR kMonitorTimer = 1;
    static constexpr UINT_PTR kToolTipTimer = 2;
    // The steps of 全平 and 全撤: one read, sale or cancel each, the executor spacing the sales.
    static constexpr UINT_PTR kCommandTimer = 3;

    // `folder` holds Stock_Config.xml and the journal (the executable's folder in the program).
    // Without an executor the process-wide ZsZqOrderExecutor is used and deleted at teardown.
    CKeelsonDlg(SettingsProfile& profile, std::wstring folder, OrderExecutor* executor = nullptr);
    ~CKeelsonDlg() override;

    void refreshList() override;
    void updateRunButton();
    // Returns once every save handed to the rule file's writer is on disk.
    void waitForRuleFile() { session_.waitForRuleFile(); }

    static constexpr int kShortestInterval = 3;
    static constexpr int kLongestInterval = 60;
    int monitorInterval = 6;
    BOOL traceOrder = FALSE;
    bool initializing = false;
    BOOL neverFoundValidBroker = TRUE;
    int contextRow = -1;

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
    OrderExecutor& executor();
    void openAlertSettings();
    void attachControls();
    // One message and the journal for a rule or configuration file that is there but unreadable.
    void tellUnreadableFiles();
    BrokerClientLink brokerClient();
    void showStatusLine(const std::wstring& text) override;
    void showRowCount(std::size_t count) override;
    void repaintList() override;
    void showMessage(const std::wstring& text) override;
    void addAboutMenuItem();
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
    void stepCommand();
    // A valid interval typed without Enter counts as confirmed; an invalid one is dropped.
    void keepTypedInterval();
    // What exit saves: the three settings and the rules (the configurations save themselves).
    void saveSettingsAndRules();
    void saveForSessionEnd();
    void syncTraceOrder() { session_.setTraceOrder(traceOrder != FALSE); }

    SettingsProfile& profile_;
    std::wstring folder_;
    OrderExecutor* injectedExecutor_;
    // Declared first, ended last: the alerts' workers write to the session's journal.
    MonitorSession session_;
    MonitorOutside environment_;
    std::wstring ruleFileTrouble_;
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

// Start-up of the main window: settings, rules, stores, the broker client check, the list and
// the timers.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "app/app_settings.h"
#include "app/keelson_dlg.h"
#include "app/position_cells.h"
#include "broker/order_executor.h"
#include "broker/position_snapshot_store.h"
#include "broker/zszq_order_executor.h"
#include "brokerconfig/broker_config_store.h"
#include "framework/application.h"
#include "framework/message_box.h"
#include "res/resource.h"

namespace {

constexpr DWORD kListStyles =
    LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_UNDERLINECOLD;
constexpr UINT kToolTipDelayMs = 2000;

}  // namespace

CKeelsonDlg::CKeelsonDlg(SettingsProfile& profile, std::wstring folder, OrderExecutor* executor)
    : halyard::Dialog(IDD_HALYARD_DIALOG),
      profile_(profile),
      folder_(std::move(folder)),
      injectedExecutor_(executor),
      session_(folder_, this->executor(), *PositionSnapshotStore::instance(), environment_, *this),
      environment_(this->executor(), executor == nullptr),
      icon_(halyard::loadIcon(IDR_MAINFRAME)),
      smallIcon_(halyard::loadSmallIcon(IDR_MAINFRAME)),
      stoppedIcon_(halyard::loadIcon(IDI_STOPPED)),
      runningIcon_(halyard::loadIcon(IDI_RUNNING)),
      alertIcon_(halyard::loadIcon(IDI_ALERT_SETTINGS)),
      brokerIcon_(halyard::loadIcon(IDI_BROKER_SETTINGS)) {
    environment_.setJournal(session_.journal());
}

OrderExecutor& CKeelsonDlg::executor() {
    return injectedExecutor_ ? *injectedExecutor_ : *ZsZqOrderExecutor::instance();
}

void CKeelsonDlg::doDataExchange(halyard::DataExchange& exchange) {
    exchange.text(IDC_MONITOR_INTERVAL, monitorInterval);
    exchange.range(monitorInterval, kShortestInterval, kLongestInterval);
    exchange.check(IDC_TRACE_ORDER, traceOrder);
}

void CKeelsonDlg::attachControls() {
    positionList_.attach(hwnd(), IDC_POSITION_LIST);
    supportLink_.attach(hwnd(), IDC_SUPPORT_LINK);
    helpLink_.attach(hwnd(), IDC_HELP_LINK);
    helpLink_.setFolder(folder_);
    runButton_.attach(hwnd(), IDC_RUN_BUTTON);
    alertSettingsButton_.attach(hwnd(), IDC_ALERT_SETTINGS);
    alertSettingsButton_.setIcon(alertIcon_.get());
    brokerSettingsButton_.attach(hwnd(), IDC_BROKER_SETTINGS);
    brokerSettingsButton_.setIcon(brokerIcon_.get());
}

bool CKeelsonDlg::onInitDialog() {
    contextRow = -1;
    initializing = true;
    started_ = true;
    attachControls();
    halyard::Dialog::onInitDialog();

    const MonitorSettings saved = readMonitorSettings(profile_);
    monitorInterval = saved.monitorInterval;
    environment_.setIntervalSeconds(timerSeconds());
    traceOrder = saved.traceOrder;
    neverFoundValidBroker = saved.neverFoundValidBroker;
    syncTraceOrder();
    ruleFileTrouble_ = session_.loadRules();
    updateData(false);

    PositionSnapshotStore::instance();
    BrokerConfigStore::instance();
    tellUnreadableFiles();
    if (!injectedExecutor_)
        ZsZqOrderExecutor::instance()->setLayoutLearnedListener(
            [this](const BrokerConfig& config) { session_.journal().layoutLearned(config); });
    brokerClient().checkAtStartUp();

    addAboutMenuItem();
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    positionList_.setExtendedStyle(kListStyles);
    insertPositionColumns(positionList_);

    refreshList();
    updateRunButton();
    session_.startUpCycle();  // the first cycle ignores the trading hours

    startMonitorTimer();
    SetTimer(hwnd(), kToolTipTimer, kToolTipDelayMs, nullptr);
    initializing = false;
    if (toolTips_.create(hwnd())) toolTips_.activate(true);
    return true;
}

void CKeelsonDlg::tellUnreadableFiles() {
    std::wstring text;
    for (const std::wstring& trouble :
         {ruleFileTrouble_, BrokerConfigStore::instance()->unreadableFileMessage()}) {
        if (trouble.empty()) continue;
        std::wstring line = trouble;
        std::replace(line.begin(), line.end(), L'\n', L' ');
        session_.journal().note(line);
        text += (text.empty() ? L"" : L"\n\n") + trouble;
    }
    if (!text.empty()) halyard::showMessageBox(hwnd(), text, MB_OK | MB_ICONWARNING);
}

void CKeelsonDlg::addAboutMenuItem() {
    HMENU systemMenu = GetSystemMenu(hwnd(), FALSE);
    if (!systemMenu) return;
    wchar_t text[128] = {};
    if (LoadStringW(halyard::Application::resourceInstance(), IDS_ABOUTBOX, text, 128) <= 0) return;
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, text);
}

int CKeelsonDlg::timerSeconds() const {
    // A hand-edited interval below one second would flood the client with reads.
    return monitorInterval < 1 ? 1 : (monitorInterval > 86400 ? 86400 : monitorInterval);
}

void CKeelsonDlg::startMonitorTimer() {
    KillTimer(hwnd(), kMonitorTimer);
    environment_.setIntervalSeconds(timerSeconds());
    SetTimer(hwnd(), kMonitorTimer, static_cast<UINT>(timerSeconds()) * 1000u, nullptr);
}

BrokerClientLink CKeelsonDlg::brokerClient() {
    return BrokerClientLink(hwnd(), executor(), injectedExecutor_ != nullptr, session_, *this,
                            neverFoundValidBroker, initializing);
}

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
#include "brokerconfig/auto_check_broker_dlg.h"
#include "brokerconfig/broker_config_store.h"
#include "brokerconfig/broker_setting_dlg.h"
#include "framework/application.h"
#include "framework/message_box.h"
#include "res/resource.h"
#include "rules/rule_file.h"

namespace {

constexpr DWORD kListStyles =
    LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_UNDERLINECOLD;
constexpr UINT kToolTipDelayMs = 2000;

const wchar_t kNoClient[] = L"券商软件还没运行";
const wchar_t kOfferDetection[] =
    L"券商软件还没运行或者当前配置券商不正确\n1.你可以重新启动助手试试.\n2.如果重启助手也没用,"
    L"可以手工配置券商.\n"
    L"是否配置券商?\n错误信息:";
const wchar_t kNotMatching[] =
    L"券商软件还没运行或者当前配置券商不正确\n请确保360等安全软件没有运行网购模式\n1.你可以重新启动助手试试."
    L"\n"
    L"2.如果重启助手也没用,可以配置券商.?\n错误信息:";
const wchar_t kDetectionFailed[] =
    L"券商软件还没运行或者当前配置券商不正确\n请确保360等安全软件没有运行网购模式\n1.你可以重新启动助手试试."
    L"\n"
    L"2.如果重启助手也没用,可以手工配置券商.?\n错误信息:";

// Detection through a stand-in executor, which cannot tell which pages it has found.
class ExecutorDetection : public BrokerDetection {
public:
    explicit ExecutorDetection(OrderExecutor& executor) : executor_(executor) {}
    int autoConfigure() override { return executor_.autoConfigure(); }
    int connect() override { return executor_.connect(); }
    unsigned learntPages() const override { return 0; }

private:
    OrderExecutor& executor_;
};

// What the broker settings dialog may do to the main window after a successful detection.
class BrokerSettingLink : public BrokerSettingOwner {
public:
    BrokerSettingLink(CKeelsonDlg& window, OrderExecutor& executor) : window_(window), executor_(executor) {}
    std::wstring brokerErrorText() override { return executor_.lastErrorText(); }
    void clearNeverFoundValidBroker() override { window_.neverFoundValidBroker = FALSE; }
    bool isInitializing() const override { return window_.initializing; }
    void refreshList() override { window_.refreshList(); }

private:
    CKeelsonDlg& window_;
    OrderExecutor& executor_;
};

}  // namespace

CKeelsonDlg::CKeelsonDlg(SettingsProfile& profile, std::wstring folder, OrderExecutor* executor)
    : halyard::Dialog(IDD_HALYARD_DIALOG),
      profile_(profile),
      folder_(std::move(folder)),
      injectedExecutor_(executor),
      session_(folder_, this->executor(), *PositionSnapshotStore::instance(), environment_, *this),
      icon_(halyard::loadIcon(IDR_MAINFRAME)),
      smallIcon_(halyard::loadSmallIcon(IDR_MAINFRAME)),
      stoppedIcon_(halyard::loadIcon(IDI_STOPPED)),
      runningIcon_(halyard::loadIcon(IDI_RUNNING)),
      alertIcon_(halyard::loadIcon(IDI_ALERT_SETTINGS)),
      brokerIcon_(halyard::loadIcon(IDI_BROKER_SETTINGS)) {}

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
    checkBrokerClient();

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

void CKeelsonDlg::checkBrokerClient() {
    OrderExecutor& broker = executor();
    if (!broker.findClientMainWindow()) {
        ContactStatus lost;
        lost.kind = ContactStatus::Kind::Lost;
        lost.errorText = kNoClient;
        session_.showContact(lost);
        halyard::showMessageBox(hwnd(), kNoClient, MB_OK);
        return;
    }
    if (broker.connect()) {
        neverFoundValidBroker = FALSE;
        const ContactStatus connected;
        session_.showContact(connected);
        const std::wstring missingColumns = session_.checkColumns();
        if (missingColumns.empty()) return;
        showMessage(missingColumns);
        session_.showContact(connected);
        return;
    }
    ContactStatus lost;
    lost.kind = ContactStatus::Kind::Lost;
    lost.errorText = broker.lastErrorText();
    session_.showContact(lost);
    if (neverFoundValidBroker) {
        if (halyard::showMessageBox(hwnd(), std::wstring(kOfferDetection) + broker.lastErrorText(),
                                    MB_OKCANCEL) == IDOK)
            runStartupDetection();
    } else {
        halyard::showMessageBox(hwnd(), std::wstring(kNotMatching) + broker.lastErrorText(), MB_OK);
    }
}

void CKeelsonDlg::reconnectBroker() {
    OrderExecutor& broker = executor();
    if (broker.connect())
        neverFoundValidBroker = FALSE;
    else
        halyard::showMessageBox(hwnd(), std::wstring(kNotMatching) + broker.lastErrorText(), MB_OK);
    refreshList();
    positionList_.invalidate(true);
}

// A success leaves the executor connected to the learnt layout; the list then shows its
// positions. neverFoundValidBroker stays as it is until a later start connects.
void CKeelsonDlg::runStartupDetection() {
    std::unique_ptr<BrokerDetection> standIn;
    if (injectedExecutor_) standIn = std::make_unique<ExecutorDetection>(*injectedExecutor_);
    CAutoCheckBrokerDlg detection(standIn ? *standIn : *ZsZqOrderExecutor::instance(), hwnd());
    detection.doModal();
    if (!detection.succeeded)
        halyard::showMessageBox(hwnd(), std::wstring(kDetectionFailed) + executor().lastErrorText(), MB_OK);
}

void CKeelsonDlg::openBrokerSettings() {
    OrderExecutor& broker = executor();
    std::unique_ptr<BrokerDetection> standIn;
    if (injectedExecutor_) standIn = std::make_unique<ExecutorDetection>(*injectedExecutor_);
    BrokerSettingLink link(*this, broker);
    CBrokerSetting dialog(hwnd(), standIn ? standIn.get() : ZsZqOrderExecutor::instance());
    dialog.mainWindow = &link;
    dialog.clientConnected = broker.isConnected() != 0;
    dialog.doModal();
    if (dialog.currentConfigChanged()) reconnectBroker();
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
    SetTimer(hwnd(), kMonitorTimer, static_cast<UINT>(timerSeconds()) * 1000u, nullptr);
}

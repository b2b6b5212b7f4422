// The main window's dealings with the broker client: the check at start-up and what it offers,
// the broker settings dialog and the connect after a change of the configuration in use.
#include "app/broker_client_link.h"

#include <memory>

#include "broker/order_executor.h"
#include "broker/zszq_order_executor.h"
#include "brokerconfig/auto_check_broker_dlg.h"
#include "brokerconfig/broker_setting_dlg.h"
#include "framework/message_box.h"
#include "rules/monitor_session.h"

namespace {

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

}  // namespace

BrokerClientLink::BrokerClientLink(HWND window, OrderExecutor& executor, bool standIn,
                                   MonitorSession& session, MonitorView& view, BOOL& neverFoundValidBroker,
                                   bool initializing)
    : window_(window),
      executor_(executor),
      standIn_(standIn),
      session_(session),
      view_(view),
      neverFoundValidBroker_(neverFoundValidBroker),
      initializing_(initializing) {}

std::wstring BrokerClientLink::brokerErrorText() {
    return executor_.lastErrorText();
}

void BrokerClientLink::refreshList() {
    view_.refreshList();
}

void BrokerClientLink::checkAtStartUp() {
    OrderExecutor& broker = executor_;
    if (!broker.findClientMainWindow()) {
        ContactStatus lost;
        lost.kind = ContactStatus::Kind::Lost;
        lost.errorText = kNoClient;
        session_.showContact(lost);
        halyard::showMessageBox(window_, kNoClient, MB_OK);
        return;
    }
    if (broker.connect()) {
        neverFoundValidBroker_ = FALSE;
        const ContactStatus connected;
        session_.showContact(connected);
        const std::wstring missingColumns = session_.checkColumns();
        if (missingColumns.empty()) return;
        view_.showMessage(missingColumns);
        session_.showContact(connected);
        return;
    }
    ContactStatus lost;
    lost.kind = ContactStatus::Kind::Lost;
    lost.errorText = broker.lastErrorText();
    session_.showContact(lost);
    if (neverFoundValidBroker_) {
        if (halyard::showMessageBox(window_, std::wstring(kOfferDetection) + broker.lastErrorText(),
                                    MB_OKCANCEL) == IDOK)
            runStartupDetection();
    } else {
        halyard::showMessageBox(window_, std::wstring(kNotMatching) + broker.lastErrorText(), MB_OK);
    }
}

void BrokerClientLink::reconnect() {
    OrderExecutor& broker = executor_;
    if (broker.connect())
        neverFoundValidBroker_ = FALSE;
    else
        halyard::showMessageBox(window_, std::wstring(kNotMatching) + broker.lastErrorText(), MB_OK);
    view_.refreshList();
    view_.repaintList();
}

// A success leaves the executor connected to the learnt layout; the list then shows its
// positions. neverFoundValidBroker_ stays as it is until a later start connects.
void BrokerClientLink::runStartupDetection() {
    std::unique_ptr<BrokerDetection> standIn;
    if (standIn_) standIn = std::make_unique<ExecutorDetection>(executor_);
    CAutoCheckBrokerDlg detection(standIn ? *standIn : *ZsZqOrderExecutor::instance(), window_);
    detection.doModal();
    if (!detection.succeeded)
        halyard::showMessageBox(window_, std::wstring(kDetectionFailed) + executor_.lastErrorText(), MB_OK);
}

void BrokerClientLink::openSettings() {
    OrderExecutor& broker = executor_;
    std::unique_ptr<BrokerDetection> standIn;
    if (standIn_) standIn = std::make_unique<ExecutorDetection>(executor_);
    CBrokerSetting dialog(window_, standIn ? standIn.get() : ZsZqOrderExecutor::instance());
    dialog.mainWindow = this;
    dialog.clientConnected = broker.isConnected() != 0;
    dialog.doModal();
    if (dialog.currentConfigChanged()) reconnect();
}

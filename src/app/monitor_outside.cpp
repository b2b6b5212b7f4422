// What the monitor reaches outside itself in the program: the alerts and the daily report.
#include "app/monitor_outside.h"

#include "alerts/alert_dispatch_win.h"
#include "alerts/window_messengers_win.h"
#include "app/app_settings.h"
#include "broker/order_executor.h"
#include "broker/zszq_order_executor.h"
#include "brokerconfig/broker_config_store.h"
#include "brokerconfig/broker_detection.h"
#include "rules/monitor_session.h"

AlertDispatch& MonitorOutside::alerts() {
    if (!alerts_) {
        if (processExecutor_)
            ZsZqOrderExecutor::instance()->setMessengerDriver(std::make_unique<WindowMessengers>());
        alerts_ = std::make_unique<AlertDispatch>(windowsAlertSenders(executor_), journal_);
    }
    return *alerts_;
}

const AlertOptions& MonitorOutside::alertSettings() {
    return *AppSettings::instance();
}

void MonitorOutside::raiseMessageAlert(const std::wstring& text) {
    alerts().raiseMessage(*AppSettings::instance(), text);
}

void MonitorOutside::raiseMessageAlertAbout(const std::wstring& text, const AlertSubject& subject) {
    alerts().raiseMessage(*AppSettings::instance(), text, subject);
}

// Detection replaces the current configuration and the client windows on its own thread.
bool MonitorOutside::detectionRunning() const {
    const auto* detection = dynamic_cast<const BrokerDetection*>(&executor_);
    return detection && detection->detectionRunning();
}

void MonitorOutside::sendDueDailyReport(MonitorSession& session) {
    const AppSettings& settings = *AppSettings::instance();
    // A detection makes configurations of its own current and destroys them: the report waits.
    if (!settings.dailyReport || detectionRunning()) return;
    ReadyState state;
    state.monitoring = session.running();
    state.connected = executor_.isConnected();
    if (!state.connected) state.connectionError = session.state().contact.errorText;
    state.brokerName = BrokerConfigStore::instance()->currentName();
    state.ruleCount = session.rules().size();
    const std::wstring text = dailyReport_.due(currentLocalTime(), state);
    if (text.empty()) return;
    session.journal().note(L"每日运行报告: " + text);
    alerts().raiseMessage(settings, text, AlertSubject{L"", L"", AlertSubject::Kind::Report});
}

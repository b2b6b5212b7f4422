#pragma once
// The main window's dealings with the broker client: the check at start-up (with its offer of a
// detection on a first start), the broker settings dialog and the connect after a change of the
// configuration in use. Made for each use over the window's own values.
#include <windows.h>

#include <string>

#include "brokerconfig/broker_setting_dlg.h"

class MonitorSession;
class MonitorView;
class OrderExecutor;

class BrokerClientLink : public BrokerSettingOwner {
public:
    // `standIn`: the executor is not the process-wide one, and its detection is a plain one.
    BrokerClientLink(HWND window, OrderExecutor& executor, bool standIn, MonitorSession& session,
                     MonitorView& view, BOOL& neverFoundValidBroker, bool initializing);

    void checkAtStartUp();
    void openSettings();

    std::wstring brokerErrorText() override;
    void clearNeverFoundValidBroker() override { neverFoundValidBroker_ = FALSE; }
    bool isInitializing() const override { return initializing_; }
    void refreshList() override;

private:
    // After a change of the configuration in use: connect again and show how that went.
    void reconnect();
    void runStartupDetection();

    HWND window_;
    OrderExecutor& executor_;
    bool standIn_;
    MonitorSession& session_;
    MonitorView& view_;
    BOOL& neverFoundValidBroker_;
    bool initializing_;
};

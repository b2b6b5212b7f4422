#include "brokerconfig/add_broker_config_dlg.h"

#include "brokerconfig/broker_config_store.h"
#include "brokerconfig/broker_setting_fields.h"
#include "framework/message_box.h"
#include "res/resource.h"

CAddBrokerConfigDlg::CAddBrokerConfigDlg(HWND parent) : halyard::Dialog(IDD_ADD_BROKER_CONFIG, parent) {}

void CAddBrokerConfigDlg::doDataExchange(halyard::DataExchange& exchange) {
    exchange.text(IDC_NEW_BROKER_NAME, nameText);
}

bool CAddBrokerConfigDlg::onInitDialog() {
    halyard::Dialog::onInitDialog();
    brokerCombo = item(IDC_NEW_BROKER_SOURCE);
    bool first = true;
    for (const BrokerConfig* config : BrokerConfigStore::instance()->brokers()) {
        const std::wstring label = brokerListLabel(*config);
        SendMessageW(brokerCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
        if (first) {
            sourceIndex = 0;
            SendMessageW(brokerCombo, CB_SETCURSEL, 0, 0);
            first = false;
        }
    }
    return true;
}

void CAddBrokerConfigDlg::onOK() {
    if (!updateData(true)) return;
    const std::wstring refusal = brokerNameRefusal(*BrokerConfigStore::instance(), nullptr, nameText);
    if (!refusal.empty()) {
        halyard::showMessageBox(hwnd(), refusal, MB_OK);
        return;
    }
    sourceIndex = static_cast<int>(SendMessageW(brokerCombo, CB_GETCURSEL, 0, 0));
    endDialog(IDOK);
}

#include "brokerconfig/add_broker_config_dlg.h"

#include "brokerconfig/broker_config_store.h"
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
        SendMessageW(brokerCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(config->name.c_str()));
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
    if (nameText.empty()) {
        halyard::showMessageBox(hwnd(), L"必须输入券商名称", MB_OK);
        return;
    }
    if (BrokerConfigStore::instance()->findByName(nameText)) {
        halyard::showMessageBox(hwnd(), nameText + L" 已经存在", MB_OK);
        return;
    }
    sourceIndex = static_cast<int>(SendMessageW(brokerCombo, CB_GETCURSEL, 0, 0));
    endDialog(IDOK);
}

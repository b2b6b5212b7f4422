#include "brokerconfig/rename_broker_dlg.h"

#include "brokerconfig/broker_config_store.h"
#include "brokerconfig/broker_setting_fields.h"
#include "framework/message_box.h"
#include "res/resource.h"

CRenameBrokerDlg::CRenameBrokerDlg(const BrokerConfig& renamed, HWND parent)
    : halyard::Dialog(IDD_RENAME_BROKER, parent), nameText(renamed.name), renamed_(renamed) {}

void CRenameBrokerDlg::doDataExchange(halyard::DataExchange& exchange) {
    exchange.text(IDC_RENAMED_BROKER_NAME, nameText);
}

void CRenameBrokerDlg::onOK() {
    if (!updateData(true)) return;
    const std::wstring refusal = brokerNameRefusal(*BrokerConfigStore::instance(), &renamed_, nameText);
    if (!refusal.empty()) {
        halyard::showMessageBox(hwnd(), refusal, MB_OK);
        return;
    }
    endDialog(IDOK);
}

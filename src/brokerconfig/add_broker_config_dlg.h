#pragma once
// Asks for the name of a new broker configuration and the stored one it is copied from
// (dialog 137). The opener does the copying after IDOK, from `sourceIndex` of the store's list.
#include <windows.h>

#include <string>

#include "framework/dialog.h"

class CAddBrokerConfigDlg : public halyard::Dialog {
public:
    explicit CAddBrokerConfigDlg(HWND parent = nullptr);

    std::wstring nameText;
    HWND brokerCombo = nullptr;
    // After IDOK: index into the store's configurations, -1 when nothing was selected.
    int sourceIndex = 0;

protected:
    void doDataExchange(halyard::DataExchange& exchange) override;
    bool onInitDialog() override;
    void onOK() override;
};

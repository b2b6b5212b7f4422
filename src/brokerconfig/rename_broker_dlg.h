#pragma once
// Asks for a configuration's new name (dialog 148), refusing an empty name and one another
// configuration has. The opener renames the configuration after IDOK.
#include <windows.h>

#include <string>

#include "framework/dialog.h"

class BrokerConfig;

class CRenameBrokerDlg : public halyard::Dialog {
public:
    // The field starts with the configuration's present name.
    CRenameBrokerDlg(const BrokerConfig& renamed, HWND parent = nullptr);

    std::wstring nameText;

protected:
    void doDataExchange(halyard::DataExchange& exchange) override;
    void onOK() override;

private:
    const BrokerConfig& renamed_;
};

#pragma once
// The rule editor of one stock (dialog 129). The opener sets the fields, runs the dialog and
// reads the fields back after IDOK; the dialog itself touches no rule.
#include <windows.h>

#include <string>

#include "framework/dialog.h"
#include "rules/rule_editor_fields.h"

class CPriceSettingDLg : public halyard::Dialog {
public:
    explicit CPriceSettingDLg(HWND parent = nullptr);

    float stopLoss = 5.0f;
    float takeProfit = 10.0f;
    std::wstring title;
    float moveStopLossTriggerPrice = 5.0f;
    int applyMoveStopLoss = 0;
    float moveStopLoss = 2.0f;
    int stopLossType = 0;
    int takeProfitType = 0;
    int slipPrice = 0;
    int messageOnly = 0;

    RuleEditorFields fields() const;
    void setFields(const RuleEditorFields& fields);

protected:
    void doDataExchange(halyard::DataExchange& exchange) override;
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;

private:
    void enableMoveStopLossEdits();
    void showStopLossUnit();
    void showTakeProfitUnit();
};

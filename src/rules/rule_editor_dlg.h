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

    std::wstring title;

    const RuleEditorFields& fields() const { return fields_; }
    void setFields(const RuleEditorFields& fields) { fields_ = fields; }

protected:
    void doDataExchange(halyard::DataExchange& exchange) override;
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;

private:
    void enableMoveStopLossEdits();
    void showStopLossUnit();
    void showTakeProfitUnit();

    RuleEditorFields fields_;
};

#include "rules/rule_editor_dlg.h"

#include "res/resource.h"

CPriceSettingDLg::CPriceSettingDLg(HWND parent) : halyard::Dialog(IDD_PRICE_SETTING, parent) {}

RuleEditorFields CPriceSettingDLg::fields() const {
    RuleEditorFields values;
    values.stopLoss = stopLoss;
    values.takeProfit = takeProfit;
    values.moveStopLossTriggerPrice = moveStopLossTriggerPrice;
    values.applyMoveStopLoss = applyMoveStopLoss;
    values.moveStopLoss = moveStopLoss;
    values.stopLossType = stopLossType;
    values.takeProfitType = takeProfitType;
    values.slipPrice = slipPrice;
    values.messageOnly = messageOnly;
    return values;
}

void CPriceSettingDLg::setFields(const RuleEditorFields& values) {
    stopLoss = values.stopLoss;
    takeProfit = values.takeProfit;
    moveStopLossTriggerPrice = values.moveStopLossTriggerPrice;
    applyMoveStopLoss = values.applyMoveStopLoss;
    moveStopLoss = values.moveStopLoss;
    stopLossType = values.stopLossType;
    takeProfitType = values.takeProfitType;
    slipPrice = values.slipPrice;
    messageOnly = values.messageOnly;
}

void CPriceSettingDLg::doDataExchange(halyard::DataExchange& exchange) {
    exchange.text(IDC_STOP_LOSS, stopLoss);
    exchange.range(stopLoss, 0.2f, 5000.0f);
    exchange.text(IDC_TAKE_PROFIT, takeProfit);
    exchange.range(takeProfit, 0.2f, 5000.0f);
    exchange.text(IDC_MOVE_STOP_LOSS_TRIGGER, moveStopLossTriggerPrice);
    exchange.range(moveStopLossTriggerPrice, 0.2f, 10000.0f);
    exchange.check(IDC_APPLY_MOVE_STOP_LOSS, applyMoveStopLoss);
    exchange.text(IDC_MOVE_STOP_LOSS, moveStopLoss);
    exchange.range(moveStopLoss, 0.2f, 5000.0f);
    exchange.radio(IDC_STOP_LOSS_PERCENT, stopLossType);
    exchange.radio(IDC_TAKE_PROFIT_PERCENT, takeProfitType);
    exchange.text(IDC_SLIP_PRICE, slipPrice);
    exchange.range(slipPrice, 0, 10);
    exchange.check(IDC_MESSAGE_ONLY, messageOnly);
}

bool CPriceSettingDLg::onInitDialog() {
    halyard::Dialog::onInitDialog();
    enableMoveStopLossEdits();
    SetWindowTextW(hwnd(), title.c_str());
    updateData(false);
    showStopLossUnit();
    showTakeProfitUnit();
    return true;
}

bool CPriceSettingDLg::onCommand(int id, int code, HWND control) {
    if (code == BN_CLICKED) {
        switch (id) {
            case IDC_APPLY_MOVE_STOP_LOSS:
                updateData(true);
                enableMoveStopLossEdits();
                return true;
            case IDC_STOP_LOSS_PERCENT:
            case IDC_STOP_LOSS_PRICE:
                updateData(true);
                showStopLossUnit();
                return true;
            case IDC_TAKE_PROFIT_PERCENT:
            case IDC_TAKE_PROFIT_PRICE:
                updateData(true);
                showTakeProfitUnit();
                return true;
            default:
                break;
        }
    }
    return halyard::Dialog::onCommand(id, code, control);
}

void CPriceSettingDLg::enableMoveStopLossEdits() {
    enableItem(IDC_MOVE_STOP_LOSS_TRIGGER, applyMoveStopLoss != 0);
    enableItem(IDC_MOVE_STOP_LOSS, applyMoveStopLoss != 0);
}

void CPriceSettingDLg::showStopLossUnit() {
    setItemText(IDC_STOP_LOSS_UNIT, stopLossType != 0 ? L"元" : L"%");
}

void CPriceSettingDLg::showTakeProfitUnit() {
    setItemText(IDC_TAKE_PROFIT_UNIT, takeProfitType != 0 ? L"元" : L"%");
}

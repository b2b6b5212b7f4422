#include "rules/rule_editor_dlg.h"

#include "res/resource.h"

CPriceSettingDLg::CPriceSettingDLg(HWND parent) : halyard::Dialog(IDD_PRICE_SETTING, parent) {}

void CPriceSettingDLg::doDataExchange(halyard::DataExchange& exchange) {
    exchange.text(IDC_STOP_LOSS, fields_.stopLoss);
    exchange.range(fields_.stopLoss, 0.2f, 5000.0f);
    exchange.text(IDC_TAKE_PROFIT, fields_.takeProfit);
    exchange.range(fields_.takeProfit, 0.2f, 5000.0f);
    exchange.text(IDC_MOVE_STOP_LOSS_TRIGGER, fields_.moveStopLossTriggerPrice);
    exchange.range(fields_.moveStopLossTriggerPrice, 0.2f, 10000.0f);
    exchange.check(IDC_APPLY_MOVE_STOP_LOSS, fields_.applyMoveStopLoss);
    exchange.text(IDC_MOVE_STOP_LOSS, fields_.moveStopLoss);
    exchange.range(fields_.moveStopLoss, 0.2f, 5000.0f);
    exchange.radio(IDC_STOP_LOSS_PERCENT, fields_.stopLossType);
    exchange.radio(IDC_TAKE_PROFIT_PERCENT, fields_.takeProfitType);
    exchange.text(IDC_SLIP_PRICE, fields_.slipPrice);
    exchange.range(fields_.slipPrice, 0, 10);
    exchange.check(IDC_MESSAGE_ONLY, fields_.messageOnly);
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
    enableItem(IDC_MOVE_STOP_LOSS_TRIGGER, fields_.applyMoveStopLoss != 0);
    enableItem(IDC_MOVE_STOP_LOSS, fields_.applyMoveStopLoss != 0);
}

void CPriceSettingDLg::showStopLossUnit() {
    setItemText(IDC_STOP_LOSS_UNIT, fields_.stopLossType != kPercentThreshold ? L"元" : L"%");
}

void CPriceSettingDLg::showTakeProfitUnit() {
    setItemText(IDC_TAKE_PROFIT_UNIT, fields_.takeProfitType != kPercentThreshold ? L"元" : L"%");
}

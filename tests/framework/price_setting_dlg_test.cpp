// The rule editor driven through its window: prefill, labels, enabling, validation, write-back.
#include "rules/price_setting_dlg.h"

#include <gtest/gtest.h>

#include "dialog_test_support.h"
#include "res/resource.h"
#include "rules/rule_editor_fields.h"

namespace {

class PriceSettingDlgTest : public DialogTest {};

StockRule absoluteRule() {
    StockRule rule;
    rule.Code = L"600036";
    rule.StopLoss = 8.5f;
    rule.Profit = 12.25f;
    rule.MoveStopLossTriggerPrice = 6;
    rule.MoveStopLoss = 1.5f;
    rule.High = 13.1f;
    rule.ApplyMoveStopLoss = true;
    rule.HasTrigerMoveStopPrice = true;
    rule.StopLossType = 1;
    rule.TakeProfitType = 0;
    rule.SlipPrice = 3;
    rule.MessageOnly = 1;
    return rule;
}

TEST_F(PriceSettingDlgTest, AStockWithoutRuleOpensWithTheDefaults) {
    CPriceSettingDLg dialog;
    dialog.title = L"浦发银行 止盈止损设置";
    dialog.setFields(prefillRuleEditorFields(nullptr));
    halyard::ModalDialogThread run(dialog);
    HWND window = run.waitForDialog();
    ASSERT_TRUE(window);
    EXPECT_EQ(L"浦发银行 止盈止损设置", halyard::windowText(window));
    EXPECT_EQ(L"5", run.text(IDC_STOP_LOSS));
    EXPECT_EQ(L"10", run.text(IDC_TAKE_PROFIT));
    EXPECT_EQ(L"5", run.text(IDC_MOVE_STOP_LOSS_TRIGGER));
    EXPECT_EQ(L"2", run.text(IDC_MOVE_STOP_LOSS));
    EXPECT_EQ(L"0", run.text(IDC_SLIP_PRICE));
    EXPECT_FALSE(run.isChecked(IDC_APPLY_MOVE_STOP_LOSS));
    EXPECT_FALSE(run.isChecked(IDC_MESSAGE_ONLY));
    EXPECT_TRUE(run.isChecked(IDC_STOP_LOSS_PERCENT));
    EXPECT_TRUE(run.isChecked(IDC_TAKE_PROFIT_PERCENT));
    EXPECT_FALSE(run.isEnabled(IDC_MOVE_STOP_LOSS_TRIGGER));
    EXPECT_FALSE(run.isEnabled(IDC_MOVE_STOP_LOSS));
    EXPECT_EQ(L"%", run.text(IDC_STOP_LOSS_UNIT));
    EXPECT_EQ(L"%", run.text(IDC_TAKE_PROFIT_UNIT));
    run.click(IDOK);
    ASSERT_TRUE(run.waitForEnd());
    EXPECT_EQ(IDOK, run.result());
    EXPECT_EQ(5.0f, dialog.stopLoss);
    EXPECT_EQ(10.0f, dialog.takeProfit);
}

TEST_F(PriceSettingDlgTest, ARuleOpensWithItsValuesLabelsAndEnabledTrailingEdits) {
    StockRule rule = absoluteRule();
    CPriceSettingDLg dialog;
    dialog.setFields(prefillRuleEditorFields(&rule));
    halyard::ModalDialogThread run(dialog);
    ASSERT_TRUE(run.waitForDialog());
    EXPECT_EQ(L"8.5", run.text(IDC_STOP_LOSS));
    EXPECT_EQ(L"12.25", run.text(IDC_TAKE_PROFIT));
    EXPECT_EQ(L"6", run.text(IDC_MOVE_STOP_LOSS_TRIGGER));
    EXPECT_EQ(L"1.5", run.text(IDC_MOVE_STOP_LOSS));
    EXPECT_EQ(L"3", run.text(IDC_SLIP_PRICE));
    EXPECT_TRUE(run.isChecked(IDC_APPLY_MOVE_STOP_LOSS));
    EXPECT_TRUE(run.isChecked(IDC_MESSAGE_ONLY));
    EXPECT_TRUE(run.isChecked(IDC_STOP_LOSS_PRICE));
    EXPECT_TRUE(run.isChecked(IDC_TAKE_PROFIT_PERCENT));
    EXPECT_TRUE(run.isEnabled(IDC_MOVE_STOP_LOSS_TRIGGER));
    EXPECT_TRUE(run.isEnabled(IDC_MOVE_STOP_LOSS));
    EXPECT_EQ(L"元", run.text(IDC_STOP_LOSS_UNIT));
    EXPECT_EQ(L"%", run.text(IDC_TAKE_PROFIT_UNIT));
}

TEST_F(PriceSettingDlgTest, TheRadioButtonsSwitchTheUnitLabels) {
    CPriceSettingDLg dialog;
    halyard::ModalDialogThread run(dialog);
    HWND window = run.waitForDialog();
    ASSERT_TRUE(window);
    run.click(IDC_STOP_LOSS_PRICE);
    settle(run, window);
    EXPECT_EQ(L"元", run.text(IDC_STOP_LOSS_UNIT));
    EXPECT_EQ(L"%", run.text(IDC_TAKE_PROFIT_UNIT));
    run.click(IDC_TAKE_PROFIT_PRICE);
    settle(run, window);
    EXPECT_EQ(L"元", run.text(IDC_TAKE_PROFIT_UNIT));
    run.click(IDC_STOP_LOSS_PERCENT);
    settle(run, window);
    EXPECT_EQ(L"%", run.text(IDC_STOP_LOSS_UNIT));
    EXPECT_EQ(L"元", run.text(IDC_TAKE_PROFIT_UNIT));
    run.click(IDOK);
    ASSERT_TRUE(run.waitForEnd());
    EXPECT_EQ(0, dialog.stopLossType);
    EXPECT_EQ(1, dialog.takeProfitType);
}

TEST_F(PriceSettingDlgTest, TheTrailingCheckBoxEnablesItsEditsAfterAValidRead) {
    CPriceSettingDLg dialog;
    halyard::ModalDialogThread run(dialog);
    HWND window = run.waitForDialog();
    ASSERT_TRUE(window);
    run.click(IDC_APPLY_MOVE_STOP_LOSS);
    settle(run, window);
    EXPECT_TRUE(run.isEnabled(IDC_MOVE_STOP_LOSS_TRIGGER));
    EXPECT_TRUE(run.isEnabled(IDC_MOVE_STOP_LOSS));

    // With the stop-loss edit empty the read fails: message, focus there, edits unchanged.
    run.setText(IDC_STOP_LOSS, L"");
    run.click(IDC_APPLY_MOVE_STOP_LOSS);
    EXPECT_EQ(L"请输入一个数字。", answerMessageBox(run));
    settle(run, window);
    EXPECT_EQ(GetDlgItem(window, IDC_STOP_LOSS), run.focus());
    EXPECT_TRUE(run.isEnabled(IDC_MOVE_STOP_LOSS_TRIGGER));
    EXPECT_TRUE(run.isEnabled(IDC_MOVE_STOP_LOSS));

    run.setText(IDC_STOP_LOSS, L"4");
    run.click(IDC_APPLY_MOVE_STOP_LOSS);
    settle(run, window);
    EXPECT_EQ(nullptr, run.currentMessageBox());
    EXPECT_TRUE(run.isEnabled(IDC_MOVE_STOP_LOSS_TRIGGER));  // the box is checked again
    run.click(IDOK);
    ASSERT_TRUE(run.waitForEnd());
    EXPECT_EQ(1, dialog.applyMoveStopLoss);
    EXPECT_EQ(4.0f, dialog.stopLoss);
}

struct Invalid {
    int id;
    const wchar_t* text;
    const wchar_t* message;
};

TEST_F(PriceSettingDlgTest, EveryEditIsValidatedWithItsOwnRangeEvenWhenDisabled) {
    const Invalid cases[] = {
        {IDC_STOP_LOSS, L"0.1", L"请输入一个 0.2 至 5000 之间的数字。"},
        {IDC_TAKE_PROFIT, L"5001", L"请输入一个 0.2 至 5000 之间的数字。"},
        {IDC_TAKE_PROFIT, L"十", L"请输入一个数字。"},
        {IDC_MOVE_STOP_LOSS_TRIGGER, L"10000.5", L"请输入一个 0.2 至 10000 之间的数字。"},
        {IDC_MOVE_STOP_LOSS, L"0", L"请输入一个 0.2 至 5000 之间的数字。"},
        {IDC_SLIP_PRICE, L"11", L"请输入一个 0 至 10 之间的整数。"},
        {IDC_SLIP_PRICE, L"-1", L"请输入一个 0 至 10 之间的整数。"},
        {IDC_SLIP_PRICE, L"2.5", L"请输入一个整数。"},
    };
    for (const Invalid& invalid : cases) {
        SCOPED_TRACE(invalid.text);
        CPriceSettingDLg dialog;
        halyard::ModalDialogThread run(dialog);
        HWND window = run.waitForDialog();
        ASSERT_TRUE(window);
        ASSERT_FALSE(run.isEnabled(IDC_MOVE_STOP_LOSS_TRIGGER));
        run.setText(IDC_STOP_LOSS, L"6");
        run.setText(invalid.id, invalid.text);
        run.click(IDOK);
        EXPECT_EQ(invalid.message, answerMessageBox(run));
        settle(run, window);
        EXPECT_TRUE(run.running());
        run.click(IDCANCEL);
        ASSERT_TRUE(run.waitForEnd());
        EXPECT_EQ(IDCANCEL, run.result());
        EXPECT_EQ(5.0f, dialog.stopLoss);
    }
}

TEST_F(PriceSettingDlgTest, ConfirmingWritesTheRuleAndKeepsItsHighWaterMark) {
    RuleTable rules{{L"600036", absoluteRule()}};
    CPriceSettingDLg dialog;
    dialog.setFields(prefillRuleEditorFields(rules, L"600036"));
    halyard::ModalDialogThread run(dialog);
    HWND window = run.waitForDialog();
    ASSERT_TRUE(window);
    run.setText(IDC_STOP_LOSS, L"9.75");
    run.setText(IDC_TAKE_PROFIT, L"30");
    run.setText(IDC_MOVE_STOP_LOSS_TRIGGER, L"8");
    run.setText(IDC_MOVE_STOP_LOSS, L"2.5");
    run.setText(IDC_SLIP_PRICE, L"10");
    run.click(IDC_TAKE_PROFIT_PRICE);
    run.click(IDC_MESSAGE_ONLY);
    run.click(IDC_APPLY_MOVE_STOP_LOSS);
    settle(run, window);
    EXPECT_FALSE(run.isEnabled(IDC_MOVE_STOP_LOSS));
    run.click(IDOK);
    ASSERT_TRUE(run.waitForEnd());
    ASSERT_EQ(IDOK, run.result());
    storeRuleEditorFields(rules, L"600036", dialog.fields());
    const StockRule& rule = rules.at(L"600036");
    EXPECT_EQ(9.75f, rule.StopLoss);
    EXPECT_EQ(30.0f, rule.Profit);
    EXPECT_EQ(8.0f, rule.MoveStopLossTriggerPrice);
    EXPECT_EQ(2.5f, rule.MoveStopLoss);
    EXPECT_FALSE(rule.ApplyMoveStopLoss);
    EXPECT_EQ(1, rule.StopLossType);
    EXPECT_EQ(1, rule.TakeProfitType);
    EXPECT_EQ(10, rule.SlipPrice);
    EXPECT_EQ(0, rule.MessageOnly);
    EXPECT_EQ(13.1f, rule.High);
    EXPECT_TRUE(rule.HasTrigerMoveStopPrice);
}

TEST_F(PriceSettingDlgTest, CancelLeavesTheFieldsAndTheTableAsTheyWere) {
    RuleTable rules{{L"600036", absoluteRule()}};
    CPriceSettingDLg dialog;
    dialog.setFields(prefillRuleEditorFields(rules, L"000001"));
    halyard::ModalDialogThread run(dialog);
    HWND window = run.waitForDialog();
    ASSERT_TRUE(window);
    run.setText(IDC_STOP_LOSS, L"7");
    run.setText(IDC_TAKE_PROFIT, L"not a number");
    run.click(IDC_MESSAGE_ONLY);
    settle(run, window);
    run.click(IDCANCEL);
    ASSERT_TRUE(run.waitForEnd());
    EXPECT_EQ(IDCANCEL, run.result());
    EXPECT_EQ(5.0f, dialog.stopLoss);
    EXPECT_EQ(0, dialog.messageOnly);
    // The opener stores nothing after IDCANCEL: the stock without rule still has none.
    EXPECT_EQ(0u, rules.count(L"000001"));
}

}  // namespace

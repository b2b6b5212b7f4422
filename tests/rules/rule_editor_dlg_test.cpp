// The rule editor driven through its window: prefill, unit labels, enabling, validation and
// write-back into the rule.
#include "rules/rule_editor_dlg.h"

#include <gtest/gtest.h>

#include "res/resource.h"
#include "rules/rule_editor_fields.h"
#include "support/dialog_test_support.h"

namespace {

class PriceSettingDlgTest : public DialogTest {};

const std::initializer_list<int> kEdits = {IDC_STOP_LOSS, IDC_TAKE_PROFIT, IDC_MOVE_STOP_LOSS_TRIGGER,
                                           IDC_MOVE_STOP_LOSS, IDC_SLIP_PRICE};
const std::initializer_list<int> kButtons = {IDC_APPLY_MOVE_STOP_LOSS, IDC_MESSAGE_ONLY,
                                             IDC_STOP_LOSS_PERCENT,    IDC_STOP_LOSS_PRICE,
                                             IDC_TAKE_PROFIT_PERCENT,  IDC_TAKE_PROFIT_PRICE};
const std::initializer_list<int> kUnits = {IDC_STOP_LOSS_UNIT, IDC_TAKE_PROFIT_UNIT};
const std::initializer_list<int> kTrailingEdits = {IDC_MOVE_STOP_LOSS_TRIGGER, IDC_MOVE_STOP_LOSS};

TEST_F(PriceSettingDlgTest, AStockWithoutRuleOpensWithTheDefaultsAndTheRadiosSwitchTheUnits) {
    CPriceSettingDLg dialog;
    dialog.title = L"浦发银行 止盈止损设置";
    dialog.setFields(prefillRuleEditorFields(nullptr));
    halyard::ModalDialogThread run(dialog);
    HWND window = run.waitForDialog();
    ASSERT_TRUE(window);
    EXPECT_EQ(halyard::controlText(window), L"浦发银行 止盈止损设置");
    EXPECT_EQ(texts(run, kEdits), L"5|10|5|2|0|");
    EXPECT_EQ(checks(run, kButtons), L"001010");
    EXPECT_EQ(enabled(run, kTrailingEdits), L"00");
    EXPECT_EQ(texts(run, kUnits), L"%|%|");
    run.click(IDC_STOP_LOSS_PRICE);
    EXPECT_TRUE(run.settle());
    EXPECT_EQ(texts(run, kUnits), L"元|%|");
    run.click(IDC_TAKE_PROFIT_PRICE);
    run.click(IDC_STOP_LOSS_PERCENT);
    EXPECT_TRUE(run.settle());
    EXPECT_EQ(texts(run, kUnits), L"%|元|");
    run.click(IDOK);
    ASSERT_TRUE(run.waitForEnd());
    ASSERT_EQ(run.result(), IDOK);
    RuleTable rules;
    storeRuleEditorFields(rules, L"600000", dialog.fields(), 9.5f);
    EXPECT_EQ(rules.at(L"600000"), (StockRule{L"600000", 10, 5, 5, 2, 0, false, false, 0, 1, 0, 0}));
}

TEST_F(PriceSettingDlgTest, ARuleOpensWithItsValuesAndConfirmingKeepsItsHighWaterMark) {
    // Code, Profit, StopLoss, MoveStopLossTriggerPrice, MoveStopLoss, High, ApplyMoveStopLoss,
    // HasTrigerMoveStopPrice, StopLossType, TakeProfitType, SlipPrice, MessageOnly.
    RuleTable rules{{L"600036", StockRule{L"600036", 12.25f, 8.5f, 6, 1.5f, 13.1f, true, true, 1, 0, 3, 1}}};
    CPriceSettingDLg dialog;
    dialog.setFields(prefillRuleEditorFields(rules, L"600036"));
    halyard::ModalDialogThread run(dialog);
    ASSERT_TRUE(run.waitForDialog());
    EXPECT_EQ(texts(run, kEdits), L"8.5|12.25|6|1.5|3|");
    EXPECT_EQ(checks(run, kButtons), L"110110");
    EXPECT_EQ(enabled(run, kTrailingEdits), L"11");
    EXPECT_EQ(texts(run, kUnits), L"元|%|");
    setTexts(run, {{IDC_STOP_LOSS, L"9.75"},
                   {IDC_TAKE_PROFIT, L"30"},
                   {IDC_MOVE_STOP_LOSS_TRIGGER, L"8"},
                   {IDC_MOVE_STOP_LOSS, L"2.5"},
                   {IDC_SLIP_PRICE, L"10"}});
    run.click(IDC_TAKE_PROFIT_PRICE);
    run.click(IDC_MESSAGE_ONLY);
    run.click(IDC_APPLY_MOVE_STOP_LOSS);
    EXPECT_TRUE(run.settle());
    EXPECT_EQ(enabled(run, kTrailingEdits), L"00");
    run.click(IDOK);
    ASSERT_TRUE(run.waitForEnd());
    ASSERT_EQ(run.result(), IDOK);
    storeRuleEditorFields(rules, L"600036", dialog.fields(), 9.5f);
    EXPECT_EQ(rules.at(L"600036"),
              (StockRule{L"600036", 30, 9.75f, 8, 2.5f, 13.1f, false, true, 1, 1, 10, 0}));
}

TEST_F(PriceSettingDlgTest, TheTrailingCheckBoxEnablesItsEditsAfterAValidRead) {
    CPriceSettingDLg dialog;
    halyard::ModalDialogThread run(dialog);
    HWND window = run.waitForDialog();
    ASSERT_TRUE(window);
    run.click(IDC_APPLY_MOVE_STOP_LOSS);
    EXPECT_TRUE(run.settle());
    EXPECT_EQ(enabled(run, kTrailingEdits), L"11");
    // With the stop-loss edit empty the read fails: message, focus there, edits unchanged.
    run.setText(IDC_STOP_LOSS, L"");
    run.click(IDC_APPLY_MOVE_STOP_LOSS);
    EXPECT_EQ(answerMessageBox(run), L"请输入一个数字。");
    EXPECT_TRUE(run.settle());
    EXPECT_EQ(run.focus(), GetDlgItem(window, IDC_STOP_LOSS));
    EXPECT_EQ(enabled(run, kTrailingEdits), L"11");
    run.setText(IDC_STOP_LOSS, L"4");
    run.click(IDC_APPLY_MOVE_STOP_LOSS);
    EXPECT_TRUE(run.settle());
    EXPECT_EQ(run.currentMessageBox(), nullptr);
    EXPECT_EQ(enabled(run, kTrailingEdits), L"11");  // the box is checked again
    run.click(IDOK);
    ASSERT_TRUE(run.waitForEnd());
    EXPECT_EQ(dialog.fields().applyMoveStopLoss, 1);
    EXPECT_EQ(dialog.fields().stopLoss, 4.0f);
}

TEST_F(PriceSettingDlgTest, EveryEditIsValidatedWithItsOwnRangeEvenWhenDisabledAndGetsTheFocus) {
    const struct {
        int id;
        const wchar_t* text;
        const wchar_t* message;
    } cases[] = {
        {IDC_STOP_LOSS, L"0.1", L"请输入一个 0.2 至 5000 之间的数字。"},
        {IDC_TAKE_PROFIT, L"5001", L"请输入一个 0.2 至 5000 之间的数字。"},
        {IDC_TAKE_PROFIT, L"十", L"请输入一个数字。"},
        {IDC_MOVE_STOP_LOSS_TRIGGER, L"10000.5", L"请输入一个 0.2 至 10000 之间的数字。"},
        {IDC_MOVE_STOP_LOSS, L"0", L"请输入一个 0.2 至 5000 之间的数字。"},
        {IDC_SLIP_PRICE, L"11", L"请输入一个 0 至 10 之间的整数。"},
        {IDC_SLIP_PRICE, L"-1", L"请输入一个 0 至 10 之间的整数。"},
        {IDC_SLIP_PRICE, L"2.5", L"请输入一个整数。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        CPriceSettingDLg dialog;
        halyard::ModalDialogThread run(dialog);
        HWND window = run.waitForDialog();
        ASSERT_TRUE(window);
        ASSERT_EQ(enabled(run, kTrailingEdits), L"00");
        run.setText(IDC_STOP_LOSS, L"6");
        run.setText(c.id, c.text);
        run.click(IDOK);
        EXPECT_EQ(answerMessageBox(run), c.message);
        EXPECT_TRUE(run.settle());
        EXPECT_TRUE(run.running()) << "OK closed the dialog despite invalid input";
        // The offending edit has its text selected and, unless it is disabled, the focus.
        HWND edit = GetDlgItem(window, c.id);
        if (IsWindowEnabled(edit)) {
            EXPECT_EQ(run.focus(), edit);
        }
        DWORD start = 1, end = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, std::wstring(c.text).size());
        run.click(IDCANCEL);
        ASSERT_TRUE(run.waitForEnd());
        EXPECT_EQ(run.result(), IDCANCEL);
        EXPECT_EQ(dialog.fields().stopLoss, 5.0f);
    }
}

}  // namespace

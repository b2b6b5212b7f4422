// Data exchange of the framework, driven through a running dialog (the rule editor's template,
// bound here to fields of several kinds).
#include "framework/data_exchange.h"

#include <gtest/gtest.h>

#include "framework/dialog.h"
#include "res/resource.h"
#include "support/dialog_test_support.h"

namespace {

class ProbeDialog : public halyard::Dialog {
public:
    ProbeDialog() : halyard::Dialog(IDD_PRICE_SETTING) {}

    int interval = 6;             // 3 to 60
    float price = 2.5f;           // 0.2 to 5000
    int flag = 1;                 // check box
    float unbounded = 0.2f;       // no range
    std::wstring note = L"备注";  // text
    int choice = 1;               // radio group of two
    int updates = 0;
    bool lastUpdate = false;

protected:
    void doDataExchange(halyard::DataExchange& exchange) override {
        exchange.text(IDC_STOP_LOSS, interval);
        exchange.range(interval, 3, 60);
        exchange.text(IDC_TAKE_PROFIT, price);
        exchange.range(price, 0.2f, 5000.0f);
        exchange.check(IDC_APPLY_MOVE_STOP_LOSS, flag);
        exchange.text(IDC_MOVE_STOP_LOSS_TRIGGER, unbounded);
        exchange.text(IDC_MOVE_STOP_LOSS, note);
        exchange.radio(IDC_STOP_LOSS_PERCENT, choice);
    }
    bool onCommand(int id, int code, HWND control) override {
        if (id == IDC_MESSAGE_ONLY && code == BN_CLICKED) {
            lastUpdate = updateData(true);
            ++updates;
            return true;
        }
        return halyard::Dialog::onCommand(id, code, control);
    }
};

class DataExchangeTest : public DialogTest {};

TEST_F(DataExchangeTest, FieldsAreShownInTheirControlsAndOkStoresThemBack) {
    ProbeDialog dialog;
    halyard::ModalDialogThread run(dialog);
    ASSERT_TRUE(run.waitForDialog());
    EXPECT_EQ(texts(run, {IDC_STOP_LOSS, IDC_TAKE_PROFIT, IDC_MOVE_STOP_LOSS_TRIGGER, IDC_MOVE_STOP_LOSS}),
              L"6|2.5|0.2|备注|");
    // The radio group ends where the next group starts.
    EXPECT_EQ(checks(run, {IDC_APPLY_MOVE_STOP_LOSS, IDC_STOP_LOSS_PERCENT, IDC_STOP_LOSS_PRICE,
                           IDC_TAKE_PROFIT_PRICE}),
              L"1010");
    setTexts(run, {{IDC_STOP_LOSS, L" 60 "},
                   {IDC_TAKE_PROFIT, L"0.2"},
                   {IDC_MOVE_STOP_LOSS_TRIGGER, L"-7.25"},
                   {IDC_MOVE_STOP_LOSS, L"新的"}});
    run.click(IDC_APPLY_MOVE_STOP_LOSS);
    run.click(IDC_STOP_LOSS_PERCENT);
    run.click(IDOK);
    ASSERT_TRUE(run.waitForEnd());
    EXPECT_EQ(run.result(), IDOK);
    EXPECT_EQ(dialog.interval, 60);
    EXPECT_EQ(dialog.price, 0.2f);
    EXPECT_EQ(dialog.flag, 0);
    EXPECT_EQ(dialog.unbounded, -7.25f);
    EXPECT_EQ(dialog.note, L"新的");
    EXPECT_EQ(dialog.choice, 0);
}

TEST_F(DataExchangeTest, OnlyTheFirstFailureOfAReadIsReportedAndTheMendedReadStores) {
    ProbeDialog dialog;
    dialog.choice = 5;  // no such button: loading checks none, reading gives -1
    halyard::ModalDialogThread run(dialog);
    HWND window = run.waitForDialog();
    ASSERT_TRUE(window);
    EXPECT_FALSE(run.isChecked(IDC_STOP_LOSS_PERCENT));
    EXPECT_FALSE(run.isChecked(IDC_STOP_LOSS_PRICE));
    run.setText(IDC_STOP_LOSS, L"1");
    run.setText(IDC_TAKE_PROFIT, L"x");
    run.click(IDC_MESSAGE_ONLY);
    EXPECT_EQ(answerMessageBox(run), L"请输入一个 3 至 60 之间的整数。");
    EXPECT_TRUE(run.settle());
    EXPECT_EQ(run.currentMessageBox(), nullptr);
    EXPECT_EQ(run.focus(), GetDlgItem(window, IDC_STOP_LOSS));
    run.setText(IDC_STOP_LOSS, L"3");
    run.setText(IDC_TAKE_PROFIT, L"1e3");
    run.click(IDC_MESSAGE_ONLY);
    EXPECT_TRUE(run.settle());
    run.click(IDCANCEL);
    ASSERT_TRUE(run.waitForEnd());
    EXPECT_EQ(dialog.updates, 2);
    EXPECT_TRUE(dialog.lastUpdate);
    EXPECT_EQ(dialog.interval, 3);
    EXPECT_EQ(dialog.price, 1000.0f);
    EXPECT_EQ(dialog.choice, -1);
}

TEST(DataExchangeWithoutWindow, UpdateDataOfADialogThatIsNotRunningFails) {
    ProbeDialog dialog;
    EXPECT_FALSE(dialog.updateData(true));
    EXPECT_FALSE(dialog.updateData(false));
    EXPECT_EQ(dialog.interval, 6);
}

}  // namespace

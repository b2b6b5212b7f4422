// Data exchange of the framework, driven through a running dialog (the rule editor's template,
// bound here to fields of several kinds).
#include "framework/data_exchange.h"

#include <gtest/gtest.h>

#include "dialog_test_support.h"
#include "framework/dialog.h"
#include "res/resource.h"

namespace {

class ProbeDialog : public halyard::Dialog {
public:
    ProbeDialog() : halyard::Dialog(IDD_PRICE_SETTING) {}

    int interval = 6;             // 1003, 3 to 60
    float price = 2.5f;           // 1004, 0.2 to 5000
    int flag = 1;                 // 1009
    float unbounded = 0.2f;       // 1010, no range
    std::wstring note = L"备注";  // 1011, text
    int choice = 1;               // radio group 1026, 1027
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

TEST_F(DataExchangeTest, LoadingShowsTheFieldsInTheirControls) {
    ProbeDialog dialog;
    halyard::ModalDialogThread run(dialog);
    ASSERT_TRUE(run.waitForDialog());
    EXPECT_EQ(L"6", run.text(IDC_STOP_LOSS));
    EXPECT_EQ(L"2.5", run.text(IDC_TAKE_PROFIT));
    EXPECT_TRUE(run.isChecked(IDC_APPLY_MOVE_STOP_LOSS));
    EXPECT_EQ(L"0.2", run.text(IDC_MOVE_STOP_LOSS_TRIGGER));
    EXPECT_EQ(L"备注", run.text(IDC_MOVE_STOP_LOSS));
    EXPECT_FALSE(run.isChecked(IDC_STOP_LOSS_PERCENT));
    EXPECT_TRUE(run.isChecked(IDC_STOP_LOSS_PRICE));
    // The radio group ends at the next control that starts a group.
    EXPECT_FALSE(run.isChecked(IDC_TAKE_PROFIT_PRICE));
    run.click(IDCANCEL);
    ASSERT_TRUE(run.waitForEnd());
    EXPECT_EQ(IDCANCEL, run.result());
}

TEST_F(DataExchangeTest, OkStoresEveryValidControlInItsField) {
    ProbeDialog dialog;
    halyard::ModalDialogThread run(dialog);
    ASSERT_TRUE(run.waitForDialog());
    run.setText(IDC_STOP_LOSS, L" 60 ");
    run.setText(IDC_TAKE_PROFIT, L"0.2");
    run.click(IDC_APPLY_MOVE_STOP_LOSS);
    run.setText(IDC_MOVE_STOP_LOSS_TRIGGER, L"-7.25");
    run.setText(IDC_MOVE_STOP_LOSS, L"新的");
    run.click(IDC_STOP_LOSS_PERCENT);
    run.click(IDOK);
    ASSERT_TRUE(run.waitForEnd());
    EXPECT_EQ(IDOK, run.result());
    EXPECT_EQ(60, dialog.interval);
    EXPECT_EQ(0.2f, dialog.price);
    EXPECT_EQ(0, dialog.flag);
    EXPECT_EQ(-7.25f, dialog.unbounded);
    EXPECT_EQ(L"新的", dialog.note);
    EXPECT_EQ(0, dialog.choice);
}

// One failing read: its message, the focus on its control, and no field changed, not even
// those read before it.
struct Failure {
    int id;
    const wchar_t* text;
    const wchar_t* message;
};

TEST_F(DataExchangeTest, AFailedReadShowsItsMessageAndChangesNoField) {
    const Failure failures[] = {
        {IDC_STOP_LOSS, L"", L"请输入一个整数。"},
        {IDC_STOP_LOSS, L"12abc", L"请输入一个整数。"},
        {IDC_STOP_LOSS, L"2", L"请输入一个 3 至 60 之间的整数。"},
        {IDC_STOP_LOSS, L"61", L"请输入一个 3 至 60 之间的整数。"},
        {IDC_TAKE_PROFIT, L"abc", L"请输入一个数字。"},
        {IDC_TAKE_PROFIT, L"0.1", L"请输入一个 0.2 至 5000 之间的数字。"},
        {IDC_TAKE_PROFIT, L"5000.5", L"请输入一个 0.2 至 5000 之间的数字。"},
        {IDC_MOVE_STOP_LOSS_TRIGGER, L"1,5", L"请输入一个数字。"},
    };
    for (const Failure& failure : failures) {
        SCOPED_TRACE(failure.text);
        ProbeDialog dialog;
        halyard::ModalDialogThread run(dialog);
        HWND window = run.waitForDialog();
        ASSERT_TRUE(window);
        // Valid new values before and after the failing control.
        run.setText(IDC_STOP_LOSS, L"30");
        run.setText(IDC_TAKE_PROFIT, L"99");
        run.setText(IDC_MOVE_STOP_LOSS, L"改了");
        run.click(IDC_STOP_LOSS_PERCENT);
        run.setText(failure.id, failure.text);
        run.click(IDOK);
        EXPECT_EQ(failure.message, answerMessageBox(run));
        settle(run, window);
        EXPECT_TRUE(run.running()) << "OK closed the dialog despite invalid input";
        EXPECT_EQ(GetDlgItem(window, failure.id), run.focus());
        DWORD start = 1, end = 0;
        SendMessageW(GetDlgItem(window, failure.id), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(0u, start);
        EXPECT_EQ(std::wstring(failure.text).size(), end);
        run.click(IDCANCEL);
        ASSERT_TRUE(run.waitForEnd());
        EXPECT_EQ(IDCANCEL, run.result());
        EXPECT_EQ(6, dialog.interval);
        EXPECT_EQ(2.5f, dialog.price);
        EXPECT_EQ(L"备注", dialog.note);
        EXPECT_EQ(1, dialog.choice);
    }
}

TEST_F(DataExchangeTest, OnlyTheFirstFailureOfAReadIsReported) {
    ProbeDialog dialog;
    halyard::ModalDialogThread run(dialog);
    HWND window = run.waitForDialog();
    ASSERT_TRUE(window);
    run.setText(IDC_STOP_LOSS, L"1");
    run.setText(IDC_TAKE_PROFIT, L"x");
    run.click(IDC_MESSAGE_ONLY);
    EXPECT_EQ(L"请输入一个 3 至 60 之间的整数。", answerMessageBox(run));
    settle(run, window);
    EXPECT_EQ(nullptr, run.currentMessageBox());
    EXPECT_EQ(GetDlgItem(window, IDC_STOP_LOSS), run.focus());
    // Mended, the same read succeeds and stores the values.
    run.setText(IDC_STOP_LOSS, L"3");
    run.setText(IDC_TAKE_PROFIT, L"1e3");
    run.click(IDC_MESSAGE_ONLY);
    settle(run, window);
    run.click(IDCANCEL);
    ASSERT_TRUE(run.waitForEnd());
    EXPECT_EQ(2, dialog.updates);
    EXPECT_TRUE(dialog.lastUpdate);
    EXPECT_EQ(3, dialog.interval);
    EXPECT_EQ(1000.0f, dialog.price);
}

TEST_F(DataExchangeTest, ARadioGroupWithNothingCheckedReadsAsMinusOne) {
    ProbeDialog dialog;
    dialog.choice = 5;  // no such button: loading checks none
    halyard::ModalDialogThread run(dialog);
    HWND window = run.waitForDialog();
    ASSERT_TRUE(window);
    EXPECT_FALSE(run.isChecked(IDC_STOP_LOSS_PERCENT));
    EXPECT_FALSE(run.isChecked(IDC_STOP_LOSS_PRICE));
    run.click(IDOK);
    ASSERT_TRUE(run.waitForEnd());
    EXPECT_EQ(IDOK, run.result());
    EXPECT_EQ(-1, dialog.choice);
}

TEST(DataExchangeWithoutWindow, UpdateDataOfADialogThatIsNotRunningFails) {
    ProbeDialog dialog;
    EXPECT_EQ(nullptr, dialog.hwnd());
    EXPECT_FALSE(dialog.updateData(true));
    EXPECT_FALSE(dialog.updateData(false));
    EXPECT_EQ(6, dialog.interval);
}

}  // namespace

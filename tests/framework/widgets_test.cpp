// The position list's colours, the two links and the image button, inside the main window's
// template run by a small dialog of the test's own.
#include <gtest/gtest.h>

#include <atomic>

#include "broker/position_snapshot_store.h"
#include "dialog_test_support.h"
#include "framework/icon.h"
#include "framework/image_button.h"
#include "framework/tool_tip.h"
#include "res/resource.h"
#include "widgets/my_link_ctrl.h"
#include "widgets/my_list_ctrl.h"

namespace {

constexpr UINT kRedraw = WM_APP + 1;
constexpr int kColumns = 12;
constexpr int kColumnWidth = 50;

class CountingSupportLink : public CMyLinkCtrl {
public:
    std::atomic<int> opened{0};

protected:
    void openTarget() override { ++opened; }
};

class CountingHelpLink : public halyard::LinkCtrl {
public:
    std::atomic<int> opened{0};

protected:
    void openTarget() override { ++opened; }
};

class WidgetsDialog : public halyard::Dialog {
public:
    WidgetsDialog() : halyard::Dialog(IDD_HALYARD_DIALOG) {}

    CMyListCtrl list;
    CountingSupportLink support;
    CountingHelpLink help;
    halyard::ImageButton runButton;
    halyard::ToolTip toolTips;
    halyard::UniqueIcon runningIcon = halyard::loadIcon(IDI_RUNNING);
    std::atomic<int> aboutCommands{0};
    std::atomic<int> helpCommands{0};

protected:
    bool onInitDialog() override {
        halyard::Dialog::onInitDialog();
        list.attach(hwnd(), IDC_POSITION_LIST);
        support.attach(hwnd(), IDC_SUPPORT_LINK);
        help.attach(hwnd(), IDC_HELP_LINK);
        help.setTarget(L"Halyard帮助.doc");
        runButton.attach(hwnd(), IDC_RUN_BUTTON);
        runButton.setIcon(runningIcon.get());
        runButton.setToolTip(L"止盈止损运行中,点击将停止");
        toolTips.create(hwnd());
        toolTips.setToolText(item(IDC_TRACE_ORDER), L"旧的提示");
        toolTips.setToolText(item(IDC_TRACE_ORDER), L"追单如果勾上：把之前还没成交的委托撤掉再下新的卖单");
        toolTips.activate(true);
        list.setExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
        for (int column = 0; column < kColumns; ++column)
            list.insertColumn(column, L"列", LVCFMT_LEFT, kColumnWidth);
        list.setItemCount(3);
        return true;
    }
    bool onCommand(int id, int code, HWND control) override {
        if (id == IDC_SUPPORT_LINK) {
            ++aboutCommands;
            return true;
        }
        if (id == IDC_HELP_LINK) {
            ++helpCommands;
            return true;
        }
        return halyard::Dialog::onCommand(id, code, control);
    }
    bool onMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override {
        if (message != kRedraw) return false;
        list.redrawAll();
        result = 0;
        return true;
    }
};

class WidgetsTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        PositionRow gain;
        gain.code = L"600000";
        gain.profit = 12.5f;
        PositionRow even;
        even.code = L"000001";
        even.profit = 0;
        PositionsByCode byCode{{gain.code, gain}, {even.code, even}};
        PositionSnapshotStore::instance()->replacePositions(byCode, {gain, even});
    }
    void TearDown() override { PositionSnapshotStore::destroyInstance(); }
};

TEST_F(WidgetsTest, CellBackgroundsFollowProfitAndRuleColumns) {
    WidgetsDialog dialog;
    halyard::ModalDialogThread run(dialog);
    ASSERT_TRUE(run.waitForDialog());
    CMyListCtrl& list = dialog.list;
    for (int row : {0, 1, 2, 7}) {
        EXPECT_EQ(CMyListCtrl::kGainRed, list.cellBackground(row, 9)) << row;
        EXPECT_EQ(CMyListCtrl::kLossGreen, list.cellBackground(row, 10)) << row;
        EXPECT_EQ(CMyListCtrl::kTrailingGreen, list.cellBackground(row, 11)) << row;
        for (int column : {0, 1, 5, 8}) EXPECT_EQ(list.backgroundColour(), list.cellBackground(row, column));
    }
    for (int column : {6, 7}) {
        EXPECT_EQ(CMyListCtrl::kGainRed, list.cellBackground(0, column));
        EXPECT_EQ(CMyListCtrl::kLossGreen, list.cellBackground(1, column));  // exactly 0 is a loss
        EXPECT_EQ(CMyListCtrl::kWhite, list.cellBackground(2, column));      // beyond the rows
    }
    // Each request reads the rows afresh.
    PositionRow loss;
    loss.code = L"600000";
    loss.profit = -3;
    PositionSnapshotStore::instance()->replacePositions({{loss.code, loss}}, {loss});
    EXPECT_EQ(CMyListCtrl::kLossGreen, list.cellBackground(0, 6));
    EXPECT_EQ(CMyListCtrl::kWhite, list.cellBackground(1, 6));
}

COLORREF pixelAt(HWND list, int row, int column) {
    RECT cell{};
    cell.top = column;
    cell.left = LVIR_BOUNDS;
    if (!SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell)))
        return CLR_INVALID;
    HDC dc = GetDC(list);
    COLORREF colour = GetPixel(dc, cell.left + kColumnWidth / 2, (cell.top + cell.bottom) / 2);
    ReleaseDC(list, dc);
    return colour;
}

TEST_F(WidgetsTest, ThePaintedListShowsTheHookColours) {
    WidgetsDialog dialog;
    halyard::ModalDialogThread run(dialog);
    HWND window = run.waitForDialog();
    ASSERT_TRUE(window);
    SendMessageW(window, kRedraw, 0, 0);
    HWND list = GetDlgItem(window, IDC_POSITION_LIST);
    EXPECT_EQ(CMyListCtrl::kGainRed, pixelAt(list, 0, 6));
    EXPECT_EQ(CMyListCtrl::kLossGreen, pixelAt(list, 1, 7));
    EXPECT_EQ(CMyListCtrl::kWhite, pixelAt(list, 2, 6));
    EXPECT_EQ(CMyListCtrl::kGainRed, pixelAt(list, 2, 9));
    EXPECT_EQ(CMyListCtrl::kLossGreen, pixelAt(list, 0, 10));
    EXPECT_EQ(CMyListCtrl::kTrailingGreen, pixelAt(list, 1, 11));
}

TEST_F(WidgetsTest, TheSupportLinkAsksItsParentForTheAboutBoxAndOpensNothing) {
    WidgetsDialog dialog;
    halyard::ModalDialogThread run(dialog);
    HWND window = run.waitForDialog();
    ASSERT_TRUE(window);
    run.click(IDC_SUPPORT_LINK);
    settle(run, window);
    EXPECT_EQ(1, dialog.aboutCommands);
    EXPECT_EQ(0, dialog.support.opened);
    run.click(IDC_SUPPORT_LINK);
    settle(run, window);
    EXPECT_EQ(2, dialog.aboutCommands);
    EXPECT_EQ(0, dialog.support.opened);
}

TEST_F(WidgetsTest, APlainLinkOpensItsTargetAndKeepsTheClickToItself) {
    WidgetsDialog dialog;
    halyard::ModalDialogThread run(dialog);
    HWND window = run.waitForDialog();
    ASSERT_TRUE(window);
    EXPECT_EQ(L"帮助", run.text(IDC_HELP_LINK));
    run.click(IDC_HELP_LINK);
    settle(run, window);
    EXPECT_EQ(1, dialog.help.opened);
    EXPECT_EQ(0, dialog.helpCommands);
    EXPECT_EQ(0, dialog.aboutCommands);
}

TEST_F(WidgetsTest, ImageButtonAndToolTipsKeepTheirIconAndTexts) {
    WidgetsDialog dialog;
    halyard::ModalDialogThread run(dialog);
    HWND window = run.waitForDialog();
    ASSERT_TRUE(window);
    ASSERT_TRUE(dialog.runningIcon);
    EXPECT_EQ(dialog.runningIcon.get(), dialog.runButton.icon());
    EXPECT_EQ(L"", run.text(IDC_RUN_BUTTON));
    EXPECT_EQ(L"止盈止损运行中,点击将停止", dialog.runButton.toolTipText());
    EXPECT_EQ(L"追单如果勾上：把之前还没成交的委托撤掉再下新的卖单",
              dialog.toolTips.toolText(GetDlgItem(window, IDC_TRACE_ORDER)));
    EXPECT_EQ(1, SendMessageW(dialog.toolTips.hwnd(), TTM_GETTOOLCOUNT, 0, 0));
    run.command(IDCANCEL);
    ASSERT_TRUE(run.waitForEnd());
    // The tool-tip windows went away with their owner; the objects know it.
    EXPECT_FALSE(dialog.toolTips.created());
    EXPECT_EQ(nullptr, dialog.list.hwnd());
}

}  // namespace

// The position list's colours, the two links and the tool tips, inside the main window's
// template run by a small dialog of the test's own.
#include <gtest/gtest.h>

#include <atomic>

#include "broker/position_snapshot_store.h"
#include "framework/tool_tip.h"
#include "res/resource.h"
#include "support/dialog_test_support.h"
#include "widgets/my_link_ctrl.h"
#include "widgets/my_list_ctrl.h"

namespace {

constexpr int kColumnWidth = 50;
constexpr UINT kRedraw = WM_APP + 1;  // repaints the list on the dialog's own thread

template <typename Link>
class CountingLink : public Link {
public:
    std::atomic<int> opened{0};

protected:
    void openTarget() override { ++opened; }
};

class WidgetsDialog : public halyard::Dialog {
public:
    WidgetsDialog() : halyard::Dialog(IDD_HALYARD_DIALOG) {}

    CMyListCtrl list;
    CountingLink<CMyLinkCtrl> support;
    CountingLink<halyard::LinkCtrl> help;
    halyard::ToolTip toolTips;
    std::atomic<int> supportCommands{0}, helpCommands{0};

protected:
    bool onInitDialog() override {
        halyard::Dialog::onInitDialog();
        list.attach(hwnd(), IDC_POSITION_LIST);
        support.attach(hwnd(), IDC_SUPPORT_LINK);
        help.attach(hwnd(), IDC_HELP_LINK);
        help.setTarget(L"Halyard帮助.doc");
        toolTips.create(hwnd());
        toolTips.setToolText(item(IDC_TRACE_ORDER), L"旧的提示");
        toolTips.setToolText(item(IDC_TRACE_ORDER), L"追单如果勾上：把之前还没成交的委托撤掉再下新的卖单");
        list.setExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
        for (int column = 0; column < 12; ++column)
            list.insertColumn(column, L"列", LVCFMT_LEFT, kColumnWidth);
        list.setItemCount(3);
        return true;
    }
    bool onCommand(int id, int code, HWND control) override {
        if (id != IDC_SUPPORT_LINK && id != IDC_HELP_LINK)
            return halyard::Dialog::onCommand(id, code, control);
        ++(id == IDC_SUPPORT_LINK ? supportCommands : helpCommands);
        return true;
    }
    bool onMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override {
        if (message != kRedraw) return false;
        list.redrawAll();
        result = 0;
        return true;
    }
};

PositionRow withProfit(const wchar_t* code, float profit) {
    PositionRow row;
    row.code = code;
    row.profit = profit;
    return row;
}

COLORREF paintedAt(HWND list, int row, int column) {
    RECT cell{LVIR_BOUNDS, column, 0, 0};
    if (!SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell)))
        return CLR_INVALID;
    HDC dc = GetDC(list);
    const COLORREF colour = GetPixel(dc, cell.left + kColumnWidth / 2, (cell.top + cell.bottom) / 2);
    ReleaseDC(list, dc);
    return colour;
}

class WidgetsTest : public DialogTest {
protected:
    void TearDown() override { PositionSnapshotStore::destroyInstance(); }
};

TEST_F(WidgetsTest, CellsAreColouredByProfitAndRuleColumnAndPaintedSo) {
    const PositionRow gain = withProfit(L"600000", 12.5f), even = withProfit(L"000001", 0);
    PositionSnapshotStore::instance()->replacePositions({{gain.code, gain}, {even.code, even}}, {gain, even});
    WidgetsDialog dialog;
    halyard::ModalDialogThread run(dialog);
    HWND window = run.waitForDialog();
    ASSERT_TRUE(window);
    CMyListCtrl& list = dialog.list;
    for (int row : {0, 2, 7}) {
        SCOPED_TRACE(row);
        EXPECT_EQ(list.cellBackground(row, 9), CMyListCtrl::kGainRed);
        EXPECT_EQ(list.cellBackground(row, 10), CMyListCtrl::kLossGreen);
        EXPECT_EQ(list.cellBackground(row, 11), CMyListCtrl::kTrailingGreen);
        EXPECT_EQ(list.cellBackground(row, 5), list.backgroundColour());
    }
    for (int column : {6, 7}) {
        EXPECT_EQ(list.cellBackground(0, column), CMyListCtrl::kGainRed);
        EXPECT_EQ(list.cellBackground(1, column), CMyListCtrl::kLossGreen);  // exactly 0 is a loss
        EXPECT_EQ(list.cellBackground(2, column), CMyListCtrl::kWhite);      // beyond the rows
    }
    HWND listWindow = GetDlgItem(window, IDC_POSITION_LIST);
    SendMessageW(window, kRedraw, 0, 0);
    EXPECT_EQ(paintedAt(listWindow, 0, 6), CMyListCtrl::kGainRed);
    EXPECT_EQ(paintedAt(listWindow, 1, 7), CMyListCtrl::kLossGreen);
    EXPECT_EQ(paintedAt(listWindow, 1, 11), CMyListCtrl::kTrailingGreen);
    // Each request reads the rows afresh.
    const PositionRow loss = withProfit(L"600000", -3);
    PositionSnapshotStore::instance()->replacePositions({{loss.code, loss}}, {loss});
    EXPECT_EQ(list.cellBackground(0, 6), CMyListCtrl::kLossGreen);
    EXPECT_EQ(list.cellBackground(1, 6), CMyListCtrl::kWhite);
}

TEST_F(WidgetsTest, LinksAndToolTips) {
    WidgetsDialog dialog;
    halyard::ModalDialogThread run(dialog);
    ASSERT_TRUE(run.waitForDialog());
    // The support link asks its parent for the about box and opens nothing; a plain link opens
    // its target and keeps the click to itself.
    run.click(IDC_SUPPORT_LINK);
    run.click(IDC_HELP_LINK);
    EXPECT_TRUE(run.settle());
    EXPECT_EQ(dialog.supportCommands, 1);
    EXPECT_EQ(dialog.support.opened, 0);
    EXPECT_EQ(dialog.help.opened, 1);
    EXPECT_EQ(dialog.helpCommands, 0);
    // A second text for a tool replaces the first.
    EXPECT_EQ(SendMessageW(dialog.toolTips.hwnd(), TTM_GETTOOLCOUNT, 0, 0), 1);
    run.command(IDCANCEL);
    ASSERT_TRUE(run.waitForEnd());
    // The tool-tip window went away with its owner; the object knows it.
    EXPECT_FALSE(dialog.toolTips.created());
    EXPECT_EQ(dialog.list.hwnd(), nullptr);
}

}  // namespace

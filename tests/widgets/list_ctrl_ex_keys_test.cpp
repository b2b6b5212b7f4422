// The grid's keys through its real window: Tab and Shift+Tab over the editable cells (read-only
// ones skipped, the focus moving on past either end), new rows asked for by Tab, and Delete.
#include <gtest/gtest.h>

#include <utility>

#include "framework/dialog_test_support.h"
#include "grid_dialog.h"

namespace {

class GridKeysTest : public DialogTest {
protected:
    void start(const std::function<void(GridDialog&)>& setUp) {
        dialog.setUp = setUp;
        run = std::make_unique<halyard::ModalDialogThread>(dialog);
        ASSERT_TRUE(run->waitForDialog());
        list = dialog.grid.hwnd();
        dialog.call([this] { SetFocus(list); });
    }
    // Tab on the window that has the focus; the cell then edited, or (-1, -1).
    std::pair<int, int> tab() {
        postKey(run->focus(), VK_TAB);
        EXPECT_TRUE(run->settle());
        EXPECT_TRUE(run->settle());  // the editor hands the key on to the grid
        if (!dialog.editing()) return {-1, -1};
        return {dialog.grid.editRow, dialog.grid.editColumn};
    }
    bool focusInGrid() {
        HWND focus = run->focus();
        return focus == list || (focus && GetParent(focus) == list);
    }

    GridDialog dialog;
    std::unique_ptr<halyard::ModalDialogThread> run;
    HWND list = nullptr;
};

using Cell = std::pair<int, int>;

TEST_F(GridKeysTest, TabAndShiftTabVisitTheEditableCellsAndLetTheFocusGoPastTheEnds) {
    start([](GridDialog& d) {
        for (int column = 0; column < 3; ++column) d.grid.insertColumn(column, L"列", LVCFMT_LEFT, 80);
        d.addRows({{L"a", L"1", L"2"}, {L"b", L"3", L"4"}});
        d.grid.SetColumnReadOnly(0);
    });
    EXPECT_EQ(tab(), Cell(0, 1));
    SetWindowTextW(dialog.edit.hwnd(), L"10");
    EXPECT_EQ(tab(), Cell(0, 2));  // storing the cell left behind
    EXPECT_EQ(tab(), Cell(1, 1));  // (1, 0) is read-only
    EXPECT_EQ(tab(), Cell(1, 2));
    SetWindowTextW(dialog.edit.hwnd(), L"40");
    EXPECT_EQ(tab(), Cell(-1, -1));
    EXPECT_FALSE(focusInGrid());
    EXPECT_EQ(dialog.rows(), L"a\t10\t2|b\t3\t40|");

    dialog.call([this] { SetFocus(list); });
    setShift(dialog, true);
    EXPECT_EQ(tab(), Cell(1, 2));  // back from outside starts at the last cell
    EXPECT_EQ(tab(), Cell(1, 1));
    EXPECT_EQ(tab(), Cell(0, 2));
    EXPECT_EQ(tab(), Cell(0, 1));
    EXPECT_EQ(tab(), Cell(-1, -1));
    setShift(dialog, false);
    EXPECT_FALSE(focusInGrid());
    EXPECT_EQ(dialog.grid.editRow, 0);
    EXPECT_TRUE(run->running());
}

TEST_F(GridKeysTest, TabAsksForNewRowsOnAnEmptyGridAndPastTheLastCell) {
    start([](GridDialog& d) {
        d.grid.insertColumn(0, L"A", LVCFMT_LEFT, 80);
        d.grid.insertColumn(1, L"B", LVCFMT_LEFT, 80);
    });
    EXPECT_EQ(tab(), Cell(-1, -1));  // refused: the focus moves on
    EXPECT_EQ(dialog.grid.appendRequests, 1);
    EXPECT_FALSE(focusInGrid());

    dialog.call([this] {
        dialog.grid.appendAllowed = true;
        dialog.grid.appendOnTab = TRUE;
        SetFocus(list);
    });
    EXPECT_EQ(tab(), Cell(0, 0));
    EXPECT_EQ(tab(), Cell(0, 1));
    SetWindowTextW(dialog.edit.hwnd(), L"x");
    EXPECT_EQ(tab(), Cell(1, 0));  // a row appended past the last cell
    EXPECT_EQ(dialog.grid.appendRequests, 3);
    EXPECT_EQ(dialog.rows(), L"new\tx|new\t|");

    dialog.call([this] { dialog.grid.appendAllowed = false; });
    EXPECT_EQ(tab(), Cell(1, 1));
    EXPECT_EQ(tab(), Cell(-1, -1));  // refused past the end: the key is used up, the focus stays
    EXPECT_TRUE(focusInGrid());
    EXPECT_EQ(dialog.grid.itemCount(), 2);
}

TEST_F(GridKeysTest, DeleteRemovesTheSelectedRowsOnlyWhileEnabled) {
    start([](GridDialog& d) {
        d.grid.insertColumn(0, L"A", LVCFMT_LEFT, 80);
        d.addRows({{L"a"}, {L"b"}, {L"c"}});
    });
    auto select = [this](int row) {
        dialog.call([this, row] {
            LVITEMW state{};
            state.stateMask = state.state = LVIS_SELECTED;
            dialog.grid.send(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
        });
    };
    select(0);
    select(2);
    postKey(list, VK_DELETE);
    ASSERT_TRUE(run->settle());
    EXPECT_EQ(dialog.rows(), L"a|b|c|");
    dialog.call([this] { dialog.grid.deleteKeyEnabled = TRUE; });
    postKey(list, VK_DELETE);
    ASSERT_TRUE(run->settle());
    EXPECT_EQ(dialog.rows(), L"b|");
    EXPECT_EQ(dialog.grid.rowRecords.size(), 1u);
}

}  // namespace

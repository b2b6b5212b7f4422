// Tab and Shift+Tab through the grid's real window: the editable cells in order, read-only ones
// skipped, the focus moving on past either end, and new rows asked for by Tab.
#include <utility>

#include "grid_dialog.h"

namespace {

using Cell = std::pair<int, int>;

class GridKeysTest : public GridTest {
protected:
    // Tab on the window that has the focus; the cell then edited, or (-1, -1).
    Cell tab() {
        key(run->focus(), VK_TAB);
        if (!dialog.editing()) return {-1, -1};
        return {dialog.grid.editRow, dialog.grid.editColumn};
    }
    bool focusInGrid() {
        HWND focus = run->focus();
        return focus == list || (focus && GetParent(focus) == list);
    }
};

TEST_F(GridKeysTest, TabAndShiftTabVisitTheEditableCellsAndLetTheFocusGoPastTheEnds) {
    start([](GridDialog& d) {
        d.columns({80, 80, 80});
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
    dialog.setShift(true);
    EXPECT_EQ(tab(), Cell(1, 2));  // back from outside starts at the last cell
    EXPECT_EQ(tab(), Cell(1, 1));
    EXPECT_EQ(tab(), Cell(0, 2));
    EXPECT_EQ(tab(), Cell(0, 1));
    EXPECT_EQ(tab(), Cell(-1, -1));
    dialog.setShift(false);
    EXPECT_FALSE(focusInGrid());
}

TEST_F(GridKeysTest, TabAsksForNewRowsOnAnEmptyGridAndPastTheLastCell) {
    start([](GridDialog& d) { d.columns({80, 80}); });
    EXPECT_EQ(tab(), Cell(-1, -1));  // the base refuses: the focus moves on
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
    EXPECT_EQ(dialog.rows(), L"new\tx|new\t|");
    dialog.call([this] { dialog.grid.appendAllowed = false; });
    EXPECT_EQ(tab(), Cell(1, 1));
    EXPECT_EQ(tab(), Cell(-1, -1));  // refused past the end: the key is used up, the focus stays
    EXPECT_TRUE(focusInGrid());
}

}  // namespace

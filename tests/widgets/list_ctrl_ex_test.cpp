// The editable grid through its real window: the editor over the cell, ending an edit by
// Enter, Escape, a click elsewhere or a destroyed editor, the open combo list, and what survives
// DeleteAllItemsAndColumns (column settings, colours, date sorting by the header).
#include <gtest/gtest.h>

#include "framework/dialog_test_support.h"
#include "grid_dialog.h"
#include "widgets/list_ctrl_ex_sort.h"

namespace {

class GridTest : public DialogTest {
protected:
    void start(const std::function<void(GridDialog&)>& setUp) {
        dialog.setUp = setUp;
        run = std::make_unique<halyard::ModalDialogThread>(dialog);
        window = run->waitForDialog();
        ASSERT_TRUE(window);
        list = dialog.grid.hwnd();
    }
    void doubleClick(int row, int column, int dx = 0) {
        POINT at = cellCentre(list, row, column);
        if (dx) {
            RECT cell{LVIR_LABEL, column, 0, 0};
            SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
            at.x = cell.left + dx;
        }
        postMouse(list, WM_LBUTTONDBLCLK, at);
        ASSERT_TRUE(run->settle());
    }
    RECT editorRect(HWND editor) const {
        RECT rect{};
        GetWindowRect(editor, &rect);
        MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    RECT cellRect(int row, int column) const {
        RECT cell{LVIR_LABEL, column, 0, 0};
        SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
        return cell;
    }

    GridDialog dialog;
    std::unique_ptr<halyard::ModalDialogThread> run;
    HWND window = nullptr;
    HWND list = nullptr;
};

void threeColumns(GridDialog& d, int lastWidth) {
    d.grid.insertColumn(0, L"名称", LVCFMT_LEFT, 100);
    d.grid.insertColumn(1, L"X", LVCFMT_LEFT, 120);
    d.grid.insertColumn(2, L"Y", LVCFMT_LEFT, lastWidth);
    d.addRows({{L"买入按钮", L"30", L"20"}, {L"卖出按钮", L"90", L"20"}, {L"撤单按钮", L"150", L"20"}});
}

TEST_F(GridTest, TheEditorCoversTheCellWithinTheVisibleWidthEnterStoresEscapeDiscards) {
    start([](GridDialog& d) { threeColumns(d, 2000); });
    HWND edit = dialog.edit.hwnd();
    doubleClick(1, 1);
    ASSERT_TRUE(dialog.editing());
    EXPECT_TRUE(IsWindowVisible(edit));
    EXPECT_EQ(GetParent(edit), list);
    EXPECT_EQ(halyard::windowText(edit), L"90");
    const RECT cell = cellRect(1, 1), placed = editorRect(edit);
    EXPECT_EQ(placed.left, cell.left);
    EXPECT_EQ(placed.top, cell.top);
    EXPECT_EQ(placed.right, cell.right);
    EXPECT_EQ(placed.bottom, cell.bottom);
    EXPECT_EQ(hookMap().size(), 1u);

    SetWindowTextW(edit, L"95");
    postKey(edit, VK_RETURN);
    ASSERT_TRUE(run->settle());
    EXPECT_FALSE(dialog.editing());
    EXPECT_FALSE(IsWindowVisible(edit));
    EXPECT_TRUE(run->running());  // Enter ended the edit, not the dialog
    EXPECT_EQ(dialog.rows(), L"买入按钮\t30\t20|卖出按钮\t95\t20|撤单按钮\t150\t20|");

    // A cell wider than the list: scrolled to its left edge, the editor stops 4 pixels short.
    doubleClick(2, 2, 10);
    ASSERT_TRUE(dialog.editing());
    RECT client{};
    GetClientRect(list, &client);
    const RECT wide = editorRect(edit);
    EXPECT_EQ(wide.left, cellRect(2, 2).left);
    EXPECT_GE(wide.left, 0);
    EXPECT_EQ(wide.right, client.right - 4);
    SetWindowTextW(edit, L"999");
    postKey(edit, VK_ESCAPE);
    ASSERT_TRUE(run->settle());
    EXPECT_FALSE(dialog.editing());
    EXPECT_TRUE(run->running());
    EXPECT_EQ(dialog.rows(), L"买入按钮\t30\t20|卖出按钮\t95\t20|撤单按钮\t150\t20|");
    EXPECT_TRUE(hookMap().empty());
}

struct ComboCalls {
    std::vector<std::wstring> calls;
} comboCalls;

int beginCombo(halyard::Window** editor, int row, int column, std::wstring* text, DWORD_PTR, CListCtrlEx*,
               int flag) {
    comboCalls.calls.push_back(L"begin " + std::to_wstring(row) + L"," + std::to_wstring(column) + L" " +
                               *text + L" " + std::to_wstring(flag));
    (*editor)->send(CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text->c_str()));
    return 0;
}

int endCombo(halyard::Window** editor, int, int, std::wstring* text, DWORD_PTR, CListCtrlEx*, int flag) {
    comboCalls.calls.push_back(L"end " + std::to_wstring(flag));
    const auto selected = (*editor)->send(CB_GETCURSEL);
    if (flag == 0 || selected < 0) return 0;
    wchar_t entry[64] = {};
    (*editor)->send(CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(entry));
    *text = entry;
    return 1;
}

TEST_F(GridTest, AClickElsewhereStoresAClickIntoTheOpenListDoesNotAndOkSeesTheStoredText) {
    comboCalls.calls.clear();
    start([](GridDialog& d) {
        d.grid.insertColumn(0, L"券商仓位表列名", LVCFMT_LEFT, 100);
        d.grid.insertColumn(1, L"助手对应列名", LVCFMT_LEFT, 100);
        d.addRows({{L"证券代码", L"乙"}, {L"证券名称", L""}});
        for (const wchar_t* entry : {L"甲", L"乙", L"丙"})
            d.combo.send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        d.grid.SetColumnEditor(1, beginCombo, endCombo, &d.combo);
    });
    doubleClick(1, 0);
    SetWindowTextW(dialog.edit.hwnd(), L"股票名称");
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));  // the dialog's own surface
    ASSERT_TRUE(run->settle());
    EXPECT_FALSE(dialog.editing());
    EXPECT_EQ(dialog.rows(), L"证券代码\t乙|股票名称\t|");

    HWND combo = dialog.combo.hwnd();
    doubleClick(0, 1);
    ASSERT_TRUE(dialog.editing());
    EXPECT_TRUE(IsWindowVisible(combo));
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    PostMessageW(info.hwndList, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ASSERT_TRUE(run->settle());
    EXPECT_TRUE(dialog.editing());  // the list belongs to the editor
    SendMessageW(combo, CB_SETCURSEL, 2, 0);
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    ASSERT_TRUE(run->settle());
    EXPECT_TRUE(dialog.editing());

    // OK's own click ends the edit, and the text is in the cell before OK runs.
    HWND ok = GetDlgItem(window, IDOK);
    RECT button{};
    GetClientRect(ok, &button);
    const POINT middle{button.right / 2, button.bottom / 2};
    postMouse(ok, WM_LBUTTONDOWN, middle);
    postMouse(ok, WM_LBUTTONUP, middle);
    ASSERT_TRUE(run->waitForEnd());
    EXPECT_EQ(run->result(), IDOK);
    EXPECT_EQ(dialog.rowAtOk, (std::vector<std::wstring>{L"证券代码", L"丙"}));
    EXPECT_EQ(comboCalls.calls, (std::vector<std::wstring>{L"begin 0,1 乙 1", L"end 1"}));
}

TEST_F(GridTest, AnEscapedComboEditAndADestroyedEditorStoreNothing) {
    comboCalls.calls.clear();
    start([](GridDialog& d) {
        d.grid.insertColumn(0, L"A", LVCFMT_LEFT, 100);
        d.grid.insertColumn(1, L"B", LVCFMT_LEFT, 100);
        d.addRows({{L"a0", L"甲"}});
        for (const wchar_t* entry : {L"甲", L"乙"})
            d.combo.send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        d.grid.SetColumnEditor(1, beginCombo, endCombo, &d.combo);
    });
    doubleClick(0, 1);
    SendMessageW(dialog.combo.hwnd(), CB_SETCURSEL, 1, 0);
    postKey(dialog.combo.hwnd(), VK_ESCAPE);
    ASSERT_TRUE(run->settle());
    EXPECT_FALSE(dialog.editing());
    EXPECT_EQ(comboCalls.calls, (std::vector<std::wstring>{L"begin 0,1 甲 1", L"end 0"}));

    doubleClick(0, 0);
    ASSERT_TRUE(dialog.editing());
    SetWindowTextW(dialog.edit.hwnd(), L"lost");
    dialog.call([&] { DestroyWindow(dialog.edit.hwnd()); });
    EXPECT_TRUE(hookMap().empty());
    EXPECT_FALSE(dialog.editing());
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    doubleClick(0, 0);  // the editor is gone: nothing opens
    EXPECT_FALSE(dialog.editing());
    EXPECT_EQ(dialog.rows(), L"a0\t甲|");
    EXPECT_TRUE(run->running());
}

COLORREF paintedAt(HWND list, POINT at) {
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC dc = GetDC(list);
    const COLORREF colour = GetPixel(dc, at.x + 30, at.y);
    ReleaseDC(list, dc);
    return colour;
}

TEST_F(GridTest, ColumnSettingsColoursAndDateSortingOutliveDeleteAllItemsAndColumns) {
    constexpr COLORREF kRed = RGB(255, 0, 0);
    start([](GridDialog& d) {
        d.grid.insertColumn(0, L"A", LVCFMT_LEFT, 100);
        d.grid.insertColumn(1, L"日期", LVCFMT_LEFT, 160);
        d.grid.SetColumnReadOnly(0);
        ColumnInfo* dates = d.grid.columnInfo(1);
        dates->backColor = kRed;
        dates->sortFlags = kSortToggles;
        dates->sortType = 7;
        d.addRows({{L"old", L"2020-01-01"}});
        EXPECT_TRUE(d.grid.DeleteAllItemsAndColumns());
        EXPECT_TRUE(d.grid.rowRecords.empty());
        d.grid.insertColumn(0, L"A", LVCFMT_LEFT, 100);
        d.grid.insertColumn(1, L"日期", LVCFMT_LEFT, 160);
        d.addRows({{L"b", L"2024-03-01 10:00:00"}, {L"c", L"2023-12-31"}, {L"a", L"2024-03-01 09:30:00"}});
    });
    EXPECT_EQ(dialog.grid.columnInfos.size(), 2u);
    doubleClick(0, 0);
    EXPECT_FALSE(dialog.editing());  // column 0 is still read-only
    doubleClick(0, 1);
    EXPECT_TRUE(dialog.editing());
    postKey(dialog.edit.hwnd(), VK_ESCAPE);
    ASSERT_TRUE(run->settle());

    const POINT dateCell = cellCentre(list, 0, 1);
    EXPECT_EQ(paintedAt(list, dateCell), kRed);
    EXPECT_NE(paintedAt(list, cellCentre(list, 0, 0)), kRed);

    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    RECT title{};
    SendMessageW(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&title));
    const POINT onTitle{(title.left + title.right) / 2, (title.top + title.bottom) / 2};
    auto clickTitle = [&] {
        postMouse(header, WM_LBUTTONDOWN, onTitle);
        postMouse(header, WM_LBUTTONUP, onTitle);
        ASSERT_TRUE(run->settle());
    };
    auto arrow = [&] {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        SendMessageW(header, HDM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item));
        return item.fmt & (HDF_SORTUP | HDF_SORTDOWN);
    };
    clickTitle();
    EXPECT_EQ(dialog.rows(), L"c\t2023-12-31|a\t2024-03-01 09:30:00|b\t2024-03-01 10:00:00|");
    EXPECT_EQ(arrow(), HDF_SORTUP);
    clickTitle();
    EXPECT_EQ(dialog.rows(), L"b\t2024-03-01 10:00:00|a\t2024-03-01 09:30:00|c\t2023-12-31|");
    EXPECT_EQ(arrow(), HDF_SORTDOWN);
    // The colour follows the column, not the row that was there.
    EXPECT_EQ(paintedAt(list, dateCell), kRed);
}

}  // namespace

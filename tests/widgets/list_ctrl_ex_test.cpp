// The editable grid through its real window: the editor over the cell, ending an edit by
// Enter, Escape, a click elsewhere or a destroyed editor, the open combo list, and what survives
// DeleteAllItemsAndColumns (column settings, colours, date sorting by the header).
#include "common/control_text.h"
#include "grid_dialog.h"
#include "widgets/list_ctrl_ex_sort.h"

namespace {

RECT editorRect(HWND editor, HWND list) {
    RECT rect{};
    GetWindowRect(editor, &rect);
    MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST_F(GridTest, TheEditorCoversTheCellWithinTheVisibleWidthEnterStoresEscapeDiscards) {
    start([](GridDialog& d) {
        d.columns({100, 120, 2000});
        d.addRows({{L"买入按钮", L"30", L"20"}, {L"卖出按钮", L"90", L"20"}});
    });
    HWND edit = dialog.edit.hwnd();
    doubleClick(1, 1);
    ASSERT_TRUE(dialog.editing());
    EXPECT_EQ(GetParent(edit), list);
    EXPECT_EQ(halyard::controlText(edit), L"90");
    const RECT cell = gridCell(list, 1, 1), placed = editorRect(edit, list);
    EXPECT_EQ(std::vector<LONG>({placed.left, placed.top, placed.right, placed.bottom}),
              std::vector<LONG>({cell.left, cell.top, cell.right, cell.bottom}));
    SetWindowTextW(edit, L"95");
    key(edit, VK_RETURN);
    EXPECT_FALSE(dialog.editing());
    EXPECT_FALSE(IsWindowVisible(edit));
    EXPECT_TRUE(run->running());  // Enter ended the edit, not the dialog

    // A cell wider than the list: scrolled to its left edge, the editor stops 4 pixels short.
    doubleClick(0, 2, 10);
    ASSERT_TRUE(dialog.editing());
    RECT client{};
    GetClientRect(list, &client);
    const RECT wide = editorRect(edit, list);
    EXPECT_EQ(wide.left, gridCell(list, 0, 2).left);
    EXPECT_EQ(wide.right, client.right - 4);
    SetWindowTextW(edit, L"999");
    key(edit, VK_ESCAPE);
    EXPECT_FALSE(dialog.editing());
    EXPECT_TRUE(run->running());
    EXPECT_EQ(dialog.rows(), L"买入按钮\t30\t20|卖出按钮\t95\t20|");
    EXPECT_TRUE(hookMap().empty());
}

std::vector<std::wstring> comboCalls;

int beginCombo(halyard::Window** editor, int row, int column, std::wstring* text, DWORD_PTR, CListCtrlEx*,
               int flag) {
    comboCalls.push_back(L"begin " + std::to_wstring(row) + L"," + std::to_wstring(column) + L" " + *text +
                         L" " + std::to_wstring(flag));
    (*editor)->send(CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text->c_str()));
    return 0;
}

int endCombo(halyard::Window** editor, int, int, std::wstring* text, DWORD_PTR, CListCtrlEx*, int flag) {
    comboCalls.push_back(L"end " + std::to_wstring(flag));
    const auto selected = (*editor)->send(CB_GETCURSEL);
    if (flag == 0 || selected < 0) return 0;
    wchar_t entry[64] = {};
    (*editor)->send(CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(entry));
    *text = entry;
    return 1;
}

TEST_F(GridTest, AClickElsewhereStoresAClickIntoTheOpenListDoesNotAndOkSeesTheStoredText) {
    comboCalls.clear();
    start([](GridDialog& d) {
        d.columns({100, 100});
        d.addRows({{L"证券代码", L"乙"}, {L"证券名称", L""}});
        for (const wchar_t* entry : {L"甲", L"乙", L"丙"})
            d.combo.send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        d.grid.SetColumnEditor(1, beginCombo, endCombo, &d.combo);
    });
    doubleClick(1, 0);
    SetWindowTextW(dialog.edit.hwnd(), L"股票名称");
    clickDialogSurface();
    ASSERT_TRUE(run->settle());
    EXPECT_FALSE(dialog.editing());
    EXPECT_EQ(dialog.rows(), L"证券代码\t乙|股票名称\t|");

    HWND combo = dialog.combo.hwnd();
    doubleClick(0, 1);
    ASSERT_TRUE(dialog.editing());
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    PostMessageW(info.hwndList, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ASSERT_TRUE(run->settle());
    EXPECT_TRUE(dialog.editing());  // the open list belongs to the editor
    SendMessageW(combo, CB_SETCURSEL, 2, 0);
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);

    // OK's own click ends the edit, and the text is in the cell before OK runs.
    HWND ok = GetDlgItem(window, IDOK);
    PostMessageW(ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(ok, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_TRUE(run->waitForEnd());
    EXPECT_EQ(run->result(), IDOK);
    EXPECT_EQ(dialog.rowAtOk, (std::vector<std::wstring>{L"证券代码", L"丙"}));
    EXPECT_EQ(comboCalls, (std::vector<std::wstring>{L"begin 0,1 乙 1", L"end 1"}));
}

TEST_F(GridTest, ADestroyedEditorStoresNothingAndLeavesNoHookEntry) {
    start([](GridDialog& d) {
        d.columns({100});
        d.addRows({{L"a0"}});
    });
    doubleClick(0, 0);
    ASSERT_TRUE(dialog.editing());
    SetWindowTextW(dialog.edit.hwnd(), L"lost");
    dialog.call([&] { DestroyWindow(dialog.edit.hwnd()); });
    EXPECT_TRUE(hookMap().empty());
    clickDialogSurface();
    doubleClick(0, 0);  // the editor is gone: nothing opens
    EXPECT_FALSE(dialog.editing());
    EXPECT_EQ(dialog.rows(), L"a0|");
    EXPECT_TRUE(run->running());
}

COLORREF paintedAt(HWND list, int row, int column) {
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const RECT cell = gridCell(list, row, column);
    HDC dc = GetDC(list);
    const COLORREF colour = GetPixel(dc, cell.right - 8, (cell.top + cell.bottom) / 2);
    ReleaseDC(list, dc);
    return colour;
}

TEST_F(GridTest, ColumnSettingsColoursAndDateSortingOutliveDeleteAllItemsAndColumns) {
    constexpr COLORREF kRed = RGB(255, 0, 0);
    start([](GridDialog& d) {
        d.columns({100, 160});
        d.grid.SetColumnReadOnly(0);
        ColumnInfo* dates = d.grid.columnInfo(1);
        dates->backColor = kRed;
        dates->sortFlags = kSortToggles;
        dates->sortType = 7;
        d.addRows({{L"old", L"2020-01-01"}});
        EXPECT_TRUE(d.grid.DeleteAllItemsAndColumns());
        d.columns({100, 160});
        d.addRows({{L"b", L"2024-03-01 10:00:00"}, {L"c", L"2023-12-31"}, {L"a", L"2024-03-01 09:30:00"}});
    });
    EXPECT_EQ(dialog.grid.rowRecords.size(), 3u);
    doubleClick(0, 0);
    EXPECT_FALSE(dialog.editing());  // column 0 is still read-only
    EXPECT_EQ(paintedAt(list, 0, 1), kRed);
    EXPECT_NE(paintedAt(list, 0, 0), kRed);

    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    RECT title{};
    SendMessageW(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&title));
    const LPARAM onTitle = MAKELPARAM((title.left + title.right) / 2, (title.top + title.bottom) / 2);
    auto clickTitle = [&] {
        PostMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, onTitle);
        PostMessageW(header, WM_LBUTTONUP, 0, onTitle);
        EXPECT_TRUE(run->settle());
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        SendMessageW(header, HDM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item));
        return item.fmt & (HDF_SORTUP | HDF_SORTDOWN);
    };
    EXPECT_EQ(clickTitle(), HDF_SORTUP);  // the first click on a toggling column sorts ascending
    EXPECT_EQ(dialog.rows(), L"c\t2023-12-31|a\t2024-03-01 09:30:00|b\t2024-03-01 10:00:00|");
    EXPECT_EQ(clickTitle(), HDF_SORTDOWN);
    EXPECT_EQ(dialog.rows(), L"b\t2024-03-01 10:00:00|a\t2024-03-01 09:30:00|c\t2023-12-31|");
    EXPECT_EQ(paintedAt(list, 0, 1), kRed);
}

}  // namespace

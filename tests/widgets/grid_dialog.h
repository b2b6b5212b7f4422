#pragma once
// A dialog of the tests' own around the editable grid: the editor template's list, edit and
// combo, set up by the test and driven through their real windows from the test thread.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "res/resource.h"
#include "support/grid_probe.h"
#include "widgets/list_ctrl_ex.h"

class TestGrid : public CListCtrlEx {
public:
    int appendRequests = 0;
    bool appendAllowed = false;

    BOOL OnAppendRow() override {
        ++appendRequests;
        if (!appendAllowed) return FALSE;
        EnsureItemData(insertItem(itemCount(), L"new"));
        return TRUE;
    }
};

class GridDialog : public halyard::Dialog {
public:
    static constexpr UINT kRun = WM_APP + 7;

    GridDialog() : halyard::Dialog(IDD_BROKER_CHILD_SETTING) {}

    TestGrid grid;
    halyard::Window edit;
    halyard::Window combo;
    std::function<void(GridDialog&)> setUp;
    std::vector<std::wstring> rowAtOk;  // row 0 as the OK button's handler found it

    // Runs `step` on the dialog's thread and waits for it.
    void call(const std::function<void()>& step) {
        SendMessageW(hwnd(), kRun, 0, reinterpret_cast<LPARAM>(&step));
    }
    std::wstring rows() { return gridRows(grid.hwnd()); }
    bool editing() {
        bool entered = false;
        call([&] { entered = grid.hook.entered(); });
        return entered;
    }
    void addRows(std::initializer_list<std::vector<std::wstring>> rows) {
        for (const auto& cells : rows) {
            const int row = grid.insertItem(grid.itemCount(), cells[0]);
            grid.EnsureItemData(row);
            for (size_t column = 1; column < cells.size(); ++column)
                grid.SetItemText(row, static_cast<int>(column), cells[column]);
        }
    }
    void columns(std::initializer_list<int> widths) {
        int index = 0;
        for (int width : widths) grid.insertColumn(index++, L"列", LVCFMT_LEFT, width);
    }
    // Holds Shift down (or lets it go) for the keys this thread reads next.
    void setShift(bool down) {
        call([down] {
            BYTE keys[256] = {};
            GetKeyboardState(keys);
            keys[VK_SHIFT] = down ? 0x80 : 0;
            SetKeyboardState(keys);
        });
    }

protected:
    bool onInitDialog() override {
        grid.attach(hwnd(), IDC_GRID);
        edit.attach(hwnd(), IDC_TEXT_EDITOR);
        combo.attach(hwnd(), IDC_OWN_NAME_COMBO);
        grid.defaultSettings.editor = &edit;
        if (setUp) setUp(*this);
        return true;
    }
    void onOK() override {
        for (int column = 0; column < grid.GetColumnCount(); ++column)
            rowAtOk.push_back(grid.GetItemText(0, column));
        endDialog(IDOK);
    }
    bool onMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) override {
        if (message != kRun) return false;
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        result = 0;
        return true;
    }
};

#include <gtest/gtest.h>

#include <memory>

#include "support/dialog_driver.h"
#include "support/dialog_test_support.h"

class GridTest : public DialogTest {
protected:
    void start(const std::function<void(GridDialog&)>& setUp) {
        dialog.setUp = setUp;
        run = std::make_unique<halyard::ModalDialogThread>(dialog);
        window = run->waitForDialog();
        ASSERT_TRUE(window);
        list = dialog.grid.hwnd();
        dialog.call([this] { SetFocus(list); });
    }
    void doubleClick(int row, int column, int dx = 0) {
        doubleClickCell(list, row, column, dx);
        ASSERT_TRUE(run->settle());
    }
    void key(HWND target, WPARAM code) {
        pressKey(target, code);
        ASSERT_TRUE(run->settle());
        ASSERT_TRUE(run->settle());  // a key the editor hands on to the grid
    }
    void clickDialogSurface() { PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3)); }

    GridDialog dialog;
    std::unique_ptr<halyard::ModalDialogThread> run;
    HWND window = nullptr;
    HWND list = nullptr;
};

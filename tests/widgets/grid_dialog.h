#pragma once
// A dialog of the tests' own around the editable grid: the editor template's list, edit and
// combo, set up by the test and driven through their real windows from the test thread.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/dialog_driver.h"
#include "res/resource.h"
#include "widgets/list_ctrl_ex.h"

class TestGrid : public CListCtrlEx {
public:
    int appendRequests = 0;
    bool appendAllowed = false;

    BOOL OnAppendRow() override {
        ++appendRequests;
        if (!appendAllowed) return FALSE;
        const int row = insertItem(itemCount(), L"new");
        EnsureItemData(row);
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
    // The cell texts of row 0 as the OK button's handler found them.
    std::vector<std::wstring> rowAtOk;

    // Runs `step` on the dialog's thread and waits for it.
    void call(const std::function<void()>& step) {
        SendMessageW(hwnd(), kRun, 0, reinterpret_cast<LPARAM>(&step));
    }
    // Each row's cells, tab-separated, rows separated by '|'.
    std::wstring rows() {
        std::wstring all;
        call([&] {
            for (int row = 0; row < grid.itemCount(); ++row) {
                for (int column = 0; column < grid.GetColumnCount(); ++column)
                    all += (column ? L"\t" : L"") + grid.GetItemText(row, column);
                all += L"|";
            }
        });
        return all;
    }
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

// The centre of a cell in list coordinates.
inline POINT cellCentre(HWND list, int row, int column) {
    RECT cell{LVIR_LABEL, column, 0, 0};
    SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
    return POINT{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
}

inline void postMouse(HWND window, UINT message, POINT at) {
    PostMessageW(window, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(at.x, at.y));
}

inline void postKey(HWND window, WPARAM key) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

// Holds Shift down (or lets it go) for the keys the dialog's thread reads next.
inline void setShift(GridDialog& dialog, bool down) {
    dialog.call([down] {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = down ? 0x80 : 0;
        SetKeyboardState(keys);
    });
}

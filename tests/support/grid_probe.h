#pragma once
// Reading and driving an editable grid of this process from a test thread, as a user would:
// cell texts, a double-click on a cell, the editor it shows, keys.
#include <windows.h>

#include <commctrl.h>

#include <string>

inline int gridColumnCount(HWND list) {
    return static_cast<int>(SendMessageW(reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)),
                                         HDM_GETITEMCOUNT, 0, 0));
}

// Each row's cells tab-separated, each row followed by '|'.
inline std::wstring gridRows(HWND list) {
    std::wstring all;
    const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < gridColumnCount(list); ++column) {
            wchar_t text[128] = {};
            LVITEMW item{};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = 128;
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
            all += (column ? L"\t" : L"") + std::wstring(text);
        }
        all += L"|";
    }
    return all;
}

inline RECT gridCell(HWND list, int row, int column) {
    RECT cell{LVIR_LABEL, column, 0, 0};
    SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
    return cell;
}

// A double-click `dx` pixels into the cell, or at its middle.
inline void doubleClickCell(HWND list, int row, int column, int dx = 0) {
    const RECT cell = gridCell(list, row, column);
    const int x = dx ? cell.left + dx : (cell.left + cell.right) / 2;
    PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, (cell.top + cell.bottom) / 2));
}

// The editor showing over a cell (a child of the list while it edits), or null.
inline HWND shownEditor(HWND list) {
    for (HWND child = GetWindow(list, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[32] = {};
        GetClassNameW(child, name, 32);
        if (IsWindowVisible(child) && (std::wstring(name) == L"Edit" || std::wstring(name) == L"ComboBox"))
            return child;
    }
    return nullptr;
}

inline void pressKey(HWND window, WPARAM key) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

inline void selectRow(HWND list, int row) {
    LVITEMW state{};
    state.stateMask = state.state = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
}

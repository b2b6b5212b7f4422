#pragma once
// The grid family's list control ("CVirtualGridCtrl"): draws its rows itself and answers no
// list-view message. Its content leaves it only as a copy: Ctrl+A selects every row, Ctrl+C
// copies the selected rows (the key handler asks GetKeyState whether Ctrl is really down), and
// the right-click menu's 复制 copies every row. A click or the arrow keys move the current row.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace halyard::simclient {

class VirtualGrid {
public:
    struct Handlers {
        std::function<void(VirtualGrid&)> copyAsked;  // the rows to copy are in copyText()
        std::function<void(VirtualGrid&)> copyKeyWithoutCtrl;
        std::function<void(VirtualGrid&, int row)> rowSelected;
    };

    VirtualGrid(HFONT font, Handlers handlers) : font_(font), handlers_(std::move(handlers)) {}
    ~VirtualGrid();
    VirtualGrid(const VirtualGrid&) = delete;
    VirtualGrid& operator=(const VirtualGrid&) = delete;

    static bool registerClass();
    bool create(HWND parent, int id);
    HWND window() const { return window_; }

    // New content; the current row stays on the same id when that id is still listed.
    void setContent(std::vector<std::wstring> titles, std::vector<std::vector<std::wstring>> rows,
                    std::vector<int> ids);
    std::optional<int> currentId() const;
    // The text of the copy being asked for: the titles and the selected rows.
    std::wstring copyText() const;
    int copyRowCount() const;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void keyDown(WPARAM key);
    void selectRow(int row);
    void askCopy(bool everyRow);
    void showMenu(int x, int y);
    void paint();
    int rowAt(int y) const;

    HFONT font_;
    Handlers handlers_;
    HWND window_ = nullptr;
    std::vector<std::wstring> titles_;
    std::vector<std::vector<std::wstring>> rows_;
    std::vector<int> ids_;
    int current_ = -1;
    bool allSelected_ = false;
    bool copyEveryRow_ = false;
};

}  // namespace halyard::simclient

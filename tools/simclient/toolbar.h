#pragma once
// The client's toolbar: draws its own buttons (no child windows), by default 60 px wide side by
// side, and reports a left click inside one of them.
#include <windows.h>

#include <functional>

namespace halyard::simclient {

class Toolbar {
public:
    static constexpr int kButtonWidth = 60;
    static constexpr int kHeight = 40;
    static constexpr int kButtonCount = 6;  // 买入 卖出 撤单 持仓 查询 刷新

    // Where the buttons are: button i covers x from offset + i * pitch, `width` pixels wide.
    struct Layout {
        int offset = 0;
        int width = kButtonWidth;
        int pitch = kButtonWidth;
    };

    // `onClick` gets the index of the button clicked.
    Toolbar(Layout layout, HFONT font, std::function<void(int)> onClick);
    Toolbar(const Toolbar&) = delete;
    Toolbar& operator=(const Toolbar&) = delete;

    static bool registerClass(const wchar_t* className);
    HWND create(HWND parent, const wchar_t* className, const wchar_t* text);
    HWND window() const { return window_; }
    void setCurrent(int index);

    // The button under a client point, -1 when none.
    int buttonAt(int x, int y) const;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paint();

    Layout layout_;
    HFONT font_;
    std::function<void(int)> onClick_;
    HWND window_ = nullptr;
    int current_ = -1;
    int pressed_ = -1;
};

}  // namespace halyard::simclient

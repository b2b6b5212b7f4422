#include "simclient/toolbar.h"

#include <windowsx.h>

namespace halyard::simclient {
namespace {

const wchar_t* const kLabels[Toolbar::kButtonCount] = {L"买入", L"卖出", L"撤单", L"持仓", L"查询", L"刷新"};

}  // namespace

Toolbar::Toolbar(Layout layout, HFONT font, std::function<void(int)> onClick)
    : layout_(layout), font_(font), onClick_(std::move(onClick)) {}

bool Toolbar::registerClass(const wchar_t* className) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = className;
    return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND Toolbar::create(HWND parent, const wchar_t* className, const wchar_t* text) {
    window_ = CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE, 0, 0, 100, kHeight, parent, nullptr,
                              GetModuleHandleW(nullptr), this);
    return window_;
}

void Toolbar::setCurrent(int index) {
    current_ = index;
    if (window_) InvalidateRect(window_, nullptr, TRUE);
}

int Toolbar::buttonAt(int x, int y) const {
    if (y < 0 || y >= kHeight || x < layout_.offset) return -1;
    const int index = (x - layout_.offset) / layout_.pitch;
    if (index >= kButtonCount || x - layout_.offset - index * layout_.pitch >= layout_.width) return -1;
    return index;
}

LRESULT CALLBACK Toolbar::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Toolbar*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Toolbar*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

LRESULT Toolbar::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            paint();
            return 0;
        case WM_LBUTTONDOWN:
            pressed_ = buttonAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            InvalidateRect(window_, nullptr, TRUE);
            return 0;
        case WM_LBUTTONUP: {
            // Clicks arrive posted from other programs, so the up alone decides.
            const int index = buttonAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            pressed_ = -1;
            InvalidateRect(window_, nullptr, TRUE);
            if (index >= 0 && onClick_) onClick_(index);
            return 0;
        }
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void Toolbar::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    RECT client;
    GetClientRect(window_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_3DFACE));
    HGDIOBJ oldFont =
        SelectObject(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i < kButtonCount; ++i) {
        const int left = layout_.offset + i * layout_.pitch;
        RECT r{left + 2, 3, left + layout_.width - 2, kHeight - 3};
        const bool down = i == pressed_ || i == current_;
        if (i == current_) FillRect(dc, &r, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
        DrawEdge(dc, &r, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextW(dc, kLabels[i], -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    RECT line{client.left, client.bottom - 1, client.right, client.bottom};
    FillRect(dc, &line, GetSysColorBrush(COLOR_3DSHADOW));
    SelectObject(dc, oldFont);
    EndPaint(window_, &ps);
}

}  // namespace halyard::simclient

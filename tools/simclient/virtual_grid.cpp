#include "simclient/virtual_grid.h"

#include <algorithm>
#include <utility>

#include "common/unique_handle.h"
#include "simclient/grid_ids.h"
#include "simclient/grid_text.h"

namespace halyard::simclient {
namespace {

constexpr int kHeaderHeight = 24, kRowHeight = 22, kColumnWidth = 92;

}  // namespace

VirtualGrid::~VirtualGrid() {
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

bool VirtualGrid::registerClass() {
    WNDCLASSW wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kVirtualGridClass;
    return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool VirtualGrid::create(HWND parent, int id) {
    window_ = CreateWindowExW(WS_EX_CLIENTEDGE, kVirtualGridClass, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0,
                              0, 100, 100, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleW(nullptr), this);
    return window_ != nullptr;
}

void VirtualGrid::setContent(std::vector<std::wstring> titles, std::vector<std::vector<std::wstring>> rows,
                             std::vector<int> ids) {
    const std::optional<int> kept = currentId();
    titles_ = std::move(titles);
    rows_ = std::move(rows);
    ids_ = std::move(ids);
    current_ = -1;
    for (size_t r = 0; kept && r < ids_.size(); ++r)
        if (ids_[r] == *kept) current_ = static_cast<int>(r);
    if (rows_.empty()) allSelected_ = false;
    if (window_) InvalidateRect(window_, nullptr, TRUE);
}

std::optional<int> VirtualGrid::currentId() const {
    if (current_ < 0 || static_cast<size_t>(current_) >= ids_.size()) return std::nullopt;
    return ids_[static_cast<size_t>(current_)];
}

std::wstring VirtualGrid::copyText() const {
    if (copyEveryRow_ || allSelected_) return gridCopyText(titles_, rows_);
    if (current_ < 0 || static_cast<size_t>(current_) >= rows_.size()) return gridCopyText(titles_, {});
    return gridCopyText(titles_, {rows_[static_cast<size_t>(current_)]});
}

int VirtualGrid::copyRowCount() const {
    if (copyEveryRow_ || allSelected_) return static_cast<int>(rows_.size());
    return current_ >= 0 && static_cast<size_t>(current_) < rows_.size() ? 1 : 0;
}

LRESULT CALLBACK VirtualGrid::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<VirtualGrid*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<VirtualGrid*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->handle(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT VirtualGrid::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_KEYDOWN:
            keyDown(wParam);
            return 0;
        case WM_LBUTTONDOWN:
            SetFocus(window_);
            selectRow(rowAt(static_cast<short>(HIWORD(lParam))));
            return 0;
        case WM_RBUTTONUP:
            showMenu(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == kGridCopyCommand) askCopy(true);
            return 0;
        case WM_PAINT:
            paint();
            return 0;
        case WM_NCDESTROY: {
            HWND window = std::exchange(window_, nullptr);
            return DefWindowProcW(window, message, wParam, lParam);
        }
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void VirtualGrid::keyDown(WPARAM key) {
    // A key posted by another program carries no Ctrl: only the thread's key state tells.
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    if (key == 'A' && ctrl) {
        allSelected_ = !rows_.empty();
        InvalidateRect(window_, nullptr, TRUE);
    } else if (key == 'C' && ctrl) {
        askCopy(false);
    } else if (key == 'C') {
        if (handlers_.copyKeyWithoutCtrl) handlers_.copyKeyWithoutCtrl(*this);
    } else if (key == VK_UP || key == VK_DOWN) {
        const int last = static_cast<int>(rows_.size()) - 1;
        selectRow(std::clamp(current_ + (key == VK_UP ? -1 : 1), 0, last));
    }
}

void VirtualGrid::selectRow(int row) {
    if (row < 0 || static_cast<size_t>(row) >= rows_.size()) return;
    current_ = row;
    allSelected_ = false;
    InvalidateRect(window_, nullptr, TRUE);
    if (handlers_.rowSelected) handlers_.rowSelected(*this, row);
}

void VirtualGrid::askCopy(bool everyRow) {
    copyEveryRow_ = everyRow;
    if (handlers_.copyAsked) handlers_.copyAsked(*this);
    copyEveryRow_ = false;
}

void VirtualGrid::showMenu(int x, int y) {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return;
    AppendMenuW(menu.get(), MF_STRING, kGridCopyCommand, L"复制");
    POINT at{x, y};
    ClientToScreen(window_, &at);
    // The choice arrives as the grid's own WM_COMMAND, as another program may send it.
    TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr);
}

int VirtualGrid::rowAt(int y) const {
    return y < kHeaderHeight ? -1 : (y - kHeaderHeight) / kRowHeight;
}

void VirtualGrid::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    HGDIOBJ oldFont = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    RECT client;
    GetClientRect(window_, &client);
    RECT header{0, 0, client.right, kHeaderHeight};
    FillRect(dc, &header, GetSysColorBrush(COLOR_3DFACE));
    auto drawLine = [&](const std::vector<std::wstring>& cells, int top) {
        for (size_t c = 0; c < cells.size(); ++c) {
            RECT cell{static_cast<LONG>(c) * kColumnWidth + 4, top, static_cast<LONG>(c + 1) * kColumnWidth,
                      top + kRowHeight};
            DrawTextW(dc, cells[c].c_str(), static_cast<int>(cells[c].size()), &cell,
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        }
    };
    drawLine(titles_, 1);
    for (size_t r = 0; r < rows_.size(); ++r) {
        const int top = kHeaderHeight + static_cast<int>(r) * kRowHeight;
        const bool selected = allSelected_ || static_cast<int>(r) == current_;
        RECT line{0, top, client.right, top + kRowHeight};
        if (selected) FillRect(dc, &line, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        drawLine(rows_[r], top);
    }
    SelectObject(dc, oldFont);
    EndPaint(window_, &ps);
}

}  // namespace halyard::simclient

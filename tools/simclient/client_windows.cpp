#include "simclient/client_app.h"

#include <algorithm>

#include "simclient/grid_window.h"
#include "simclient/live_control.h"

namespace halyard::simclient {
namespace {

constexpr wchar_t kFrameClass[] = L"HalyardSimFrame";
constexpr wchar_t kHostClass[] = L"HalyardSimHost";
constexpr wchar_t kToolbarClass[] = L"MHPToolBar";
constexpr wchar_t kPlainToolbarClass[] = L"HalyardSimToolBar";
constexpr int kStatusHeight = 24, kPanelGap = 4;

}  // namespace

bool ClientApp::registerClasses() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = mainProcedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
    wc.lpszClassName = kMainWindowClass;
    if (!RegisterClassW(&wc)) return false;
    wc.lpfnWndProc = frameProcedure;
    wc.hIcon = nullptr;
    wc.lpszClassName = kFrameClass;
    if (!RegisterClassW(&wc)) return false;
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = kHostClass;
    if (!RegisterClassW(&wc)) return false;
    return Toolbar::registerClass(kToolbarClass) && Toolbar::registerClass(kPlainToolbarClass);
}

bool ClientApp::createWindows() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    font_.reset(CreateFontW(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Microsoft YaHei"));
    main_ =
        CreateWindowExW(0, kMainWindowClass, options_.title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                        CW_USEDEFAULT, CW_USEDEFAULT, 960, 640, nullptr, nullptr, instance, this);
    if (!main_) return false;
    frame_ = CreateWindowExW(WS_EX_CONTROLPARENT, kFrameClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                             0, 0, 100, 100, main_, nullptr, instance, this);
    if (!frame_) return false;
    if (options_.family == Family::Grid) return createGridWindows();
    const Toolbar::Layout layout{options_.toolbarOffset, options_.buttonWidth,
                                 options_.buttonPitch > 0 ? options_.buttonPitch : options_.buttonWidth};
    toolbar_ = std::make_unique<Toolbar>(layout, font(), [this](int index) { toolbarClicked(index); });
    const wchar_t* toolbarClass = options_.hasVariant(L"no-toolbar") ? kPlainToolbarClass : kToolbarClass;
    if (options_.hasVariant(L"toolbar-at-top")) {
        if (!toolbar_->create(main_, toolbarClass, L"MainViewBar")) return false;
    } else {
        host_ = CreateWindowExW(0, kHostClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 100,
                                Toolbar::kHeight, frame_, nullptr, instance, nullptr);
        if (!host_ || !toolbar_->create(host_, toolbarClass, L"MainViewBar")) return false;
    }
    status_ = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_CENTERIMAGE,
                              0, 0, 100, kStatusHeight, main_, nullptr, instance, nullptr);
    if (status_) SendMessageW(status_, WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
    layOutMain();
    return true;
}

bool ClientApp::createGridWindows() {
    grid_ = std::make_unique<GridShell>(*this);
    if (!grid_->create(main_, frame_)) return false;
    status_ = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_CENTERIMAGE,
                              0, 0, 100, kStatusHeight, main_, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (status_) SendMessageW(status_, WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
    layOutMain();
    return true;
}

void ClientApp::layOutMain() {
    if (!main_ || !frame_) return;
    RECT client;
    GetClientRect(main_, &client);
    const int width = client.right, height = client.bottom;
    int top = 0;
    if (!host_ && toolbar_ && toolbar_->window()) {
        MoveWindow(toolbar_->window(), 0, 0, width, Toolbar::kHeight, TRUE);
        top = Toolbar::kHeight;
    }
    MoveWindow(frame_, 0, top, width, std::max(0, height - top - kStatusHeight), TRUE);
    if (status_) MoveWindow(status_, 8, height - kStatusHeight, std::max(0, width - 16), kStatusHeight, TRUE);
    layOutFrame();
}

RECT ClientApp::panelArea() const {
    RECT client{0, 0, 0, 0};
    if (frame_) GetClientRect(frame_, &client);
    const int top = host_ ? Toolbar::kHeight + kPanelGap : kPanelGap;
    return RECT{0, top, client.right, std::max<LONG>(top, client.bottom)};
}

void ClientApp::layOutFrame() {
    RECT client;
    GetClientRect(frame_, &client);
    if (grid_) {
        grid_->layOut(client);
        return;
    }
    if (host_) {
        MoveWindow(host_, 0, 0, client.right, Toolbar::kHeight, TRUE);
        if (toolbar_->window()) MoveWindow(toolbar_->window(), 0, 0, client.right, Toolbar::kHeight, TRUE);
    }
    const RECT area = panelArea();
    for (auto& page : pages_)
        if (page && page->panel())
            MoveWindow(page->panel(), area.left, area.top, area.right - area.left, area.bottom - area.top,
                       TRUE);
}

LRESULT CALLBACK ClientApp::frameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<ClientApp*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_SIZE && self->frame_ == window) self->layOutFrame();
    if (self && message == WM_NOTIFY && self->grid_)
        self->grid_->notified(*reinterpret_cast<const NMHDR*>(lParam));
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace halyard::simclient

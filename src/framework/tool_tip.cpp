#include "framework/tool_tip.h"

#include <commctrl.h>

#include <vector>

namespace halyard {
namespace {

TTTOOLINFOW toolInfo(HWND owner, HWND control) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    return info;
}

}  // namespace

ToolTip::~ToolTip() {
    // Destroyed with its owner window, the control has ended the binding, and its handle may
    // already name another window.
    if (!hwnd()) owned_.release();
    detach();
}

bool ToolTip::create(HWND owner) {
    if (created() || !owner) return created();
    UniqueWindow window(
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE)), nullptr));
    if (!window || !attachWindow(window.get())) return false;
    owned_ = std::move(window);
    send(TTM_SETMAXTIPWIDTH, 0, 400);
    return true;
}

bool ToolTip::setToolText(HWND control, const std::wstring& text) {
    if (!created() || !control) return false;
    TTTOOLINFOW info = toolInfo(GetParent(control) ? GetParent(control) : control, control);
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    TTTOOLINFOW existing = info;
    existing.lpszText = nullptr;
    if (send(TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&existing))) {
        send(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
        return true;
    }
    return send(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

std::wstring ToolTip::toolText(HWND control) const {
    if (!created() || !control) return {};
    std::vector<wchar_t> buffer(1024);
    TTTOOLINFOW info = toolInfo(GetParent(control) ? GetParent(control) : control, control);
    info.lpszText = buffer.data();
    send(TTM_GETTEXTW, static_cast<WPARAM>(buffer.size()), reinterpret_cast<LPARAM>(&info));
    return std::wstring(buffer.data());
}

void ToolTip::activate(bool active) {
    send(TTM_ACTIVATE, active ? TRUE : FALSE);
}

}  // namespace halyard

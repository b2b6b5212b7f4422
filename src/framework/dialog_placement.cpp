#include "framework/dialog_placement.h"

#include <cstring>

namespace halyard {
namespace {

struct TemplateHead {
    DWORD style = 0;
    short x = 0;
    short y = 0;
};

// Both layouts: DLGTEMPLATEEX starts with dlgVer 1 and signature 0xFFFF.
bool readTemplateHead(const BYTE* data, DWORD size, TemplateHead& head) {
    WORD version[2] = {};
    if (size < sizeof version) return false;
    std::memcpy(version, data, sizeof version);
    const bool extended = version[0] == 1 && version[1] == 0xFFFF;
    const DWORD styleAt = extended ? 12 : 0;
    const DWORD xAt = extended ? 18 : 10;
    if (size < xAt + 4) return false;
    std::memcpy(&head.style, data + styleAt, sizeof head.style);
    std::memcpy(&head.x, data + xAt, sizeof head.x);
    std::memcpy(&head.y, data + xAt + 2, sizeof head.y);
    return true;
}

}  // namespace

bool templateWantsCentring(HINSTANCE instance, int templateId) {
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(5));  // RT_DIALOG
    if (!found) return false;
    HGLOBAL loaded = LoadResource(instance, found);
    const auto* data = static_cast<const BYTE*>(loaded ? LockResource(loaded) : nullptr);
    TemplateHead head;
    if (!data || !readTemplateHead(data, SizeofResource(instance, found), head)) return false;
    return head.x == 0 && head.y == 0 && !(head.style & DS_ABSALIGN);
}

void centreOverOwner(HWND window) {
    RECT own{};
    if (!GetWindowRect(window, &own)) return;
    HWND owner = GetWindow(window, GW_OWNER);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(owner ? owner : window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT area = monitor.rcWork;
    RECT around = area;
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &around);

    const LONG width = own.right - own.left;
    const LONG height = own.bottom - own.top;
    LONG left = (around.left + around.right - width) / 2;
    LONG top = (around.top + around.bottom - height) / 2;
    if (left + width > area.right) left = area.right - width;
    if (top + height > area.bottom) top = area.bottom - height;
    if (left < area.left) left = area.left;
    if (top < area.top) top = area.top;
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace halyard

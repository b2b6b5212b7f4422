#include "probe/window_tree.h"

#include <cwchar>

#include "broker/window_toolkit.h"

namespace halyard::probe {
namespace {

constexpr int kMaxDepth = 64;

void writeBranch(ProbeReport& report, HWND window, int depth, int& written) {
    if (written >= kMaxTreeWindows) return;
    ++written;
    report.line(describeWindow(window), depth);
    if (depth >= kMaxDepth) return;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        writeBranch(report, child, depth + 1, written);
}

}  // namespace

std::wstring describeWindow(HWND window) {
    wchar_t className[256] = {};
    GetClassNameW(window, className, 256);
    RECT r{};
    GetWindowRect(window, &r);
    wchar_t numbers[160];
    std::swprintf(numbers, 160, L"id %d (%ld,%ld)-(%ld,%ld) %ls ", GetDlgCtrlID(window), r.left, r.top,
                  r.right, r.bottom, IsWindowVisible(window) ? L"可见" : L"隐藏");
    return quoted(className) + L" " + numbers + quoted(windowText(window));
}

void writeWindowTree(ProbeReport& report, HWND root) {
    int written = 0;
    writeBranch(report, root, 0, written);
    if (written >= kMaxTreeWindows)
        report.line(L"(窗口太多, 只列出前 " + std::to_wstring(kMaxTreeWindows) + L" 个)");
}

}  // namespace halyard::probe

#include "probe/top_windows.h"

#include <cwchar>

#include "broker/window_toolkit.h"
#include "common/unique_handle.h"
#include "probe/probe_report.h"

namespace halyard::probe {
namespace {

bool systemIs64Bit() {
#ifdef _WIN64
    return true;
#else
    BOOL wow = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow) && wow;
#endif
}

void describeProcess(TopWindow& top) {
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, top.processId));
    if (!process) return;
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (QueryFullProcessImageNameW(process.get(), 0, path, &size)) {
        const wchar_t* name = std::wcsrchr(path, L'\\');
        top.processName = name ? name + 1 : path;
    }
    BOOL wow = FALSE;
    if (IsWow64Process(process.get(), &wow)) top.bits = systemIs64Bit() && !wow ? 64 : 32;
}

BOOL CALLBACK collect(HWND window, LPARAM parameter) {
    TopWindow top;
    top.window = window;
    top.title = windowText(window);
    wchar_t className[256] = {};
    GetClassNameW(window, className, 256);
    top.className = className;
    GetWindowThreadProcessId(window, &top.processId);
    top.visible = IsWindowVisible(window) != FALSE;
    describeProcess(top);
    reinterpret_cast<std::vector<TopWindow>*>(parameter)->push_back(std::move(top));
    return TRUE;
}

}  // namespace

std::vector<TopWindow> listTopWindows() {
    std::vector<TopWindow> windows;
    EnumWindows(collect, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::wstring describe(const TopWindow& top) {
    wchar_t numbers[96];
    std::swprintf(numbers, 96, L"%p 进程 %lu ", static_cast<void*>(top.window),
                  static_cast<unsigned long>(top.processId));
    std::wstring bits = top.bits ? std::to_wstring(top.bits) + L"位" : L"位数未知";
    return std::wstring(numbers) + (top.processName.empty() ? L"?" : top.processName) + L" " + bits +
           (top.visible ? L" 可见" : L" 隐藏") + L" 类 " + quoted(top.className) + L" 标题 " +
           quoted(top.title);
}

}  // namespace halyard::probe

// HalyardProbe.exe: writes down what Halyard sees of the broker clients on this desktop, so a
// user whose client Halyard does not recognise can send us one file. Reads windows only: it
// never clicks, never types, never writes into another program.
//
// HalyardProbe.exe [title text]: without an argument every window that has a "MHPToolBar"
// descendant, and the client with a tree menu Halyard would learn, is reported in full; with one,
// every window whose title contains the text.
#include <windows.h>

#include <shellapi.h>

#include <cwchar>
#include <string>

#include "broker/grid_order_executor.h"
#include "common/file_store.h"
#include "common/module_directory.h"
#include "probe/client_report.h"
#include "probe/configured_reading.h"
#include "probe/grid_report.h"
#include "probe/top_windows.h"
#include "probe/window_tree.h"

namespace {

using namespace halyard::probe;
using halyard::moduleDirectory;
using halyard::replaceFileAtomically;

constexpr wchar_t kReportName[] = L"HalyardProbe报告.txt";

std::wstring titleArgument() {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring title = args && count > 1 ? args[1] : L"";
    if (args) LocalFree(args);
    return title;
}

std::wstring now() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    wchar_t text[32];
    std::swprintf(text, 32, L"%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                  t.wSecond);
    return text;
}

bool isTarget(const TopWindow& top, const std::wstring& title, HWND treeClient) {
    if (!title.empty()) return top.title.find(title) != std::wstring::npos;
    return hasClientToolbar(top.window) || top.window == treeClient;
}

ProbeReport makeReport(const std::wstring& title) {
    ProbeReport report;
    report.line(L"HalyardProbe " HALYARD_PROBE_VERSION L" (" + std::to_wstring(sizeof(void*) * 8) + L"位) " +
                now());
    report.line(title.empty() ? L"目标: 所有带 MHPToolBar 工具栏的窗口, 和带树形菜单的交易软件"
                              : L"目标: 标题含 " + quoted(title) + L" 的窗口");
    const std::vector<TopWindow> windows = listTopWindows();
    report.heading(L"顶层窗口 (" + std::to_wstring(windows.size()) + L" 个)");
    for (const TopWindow& top : windows) report.line(describe(top), 1);
    const HWND treeClient = title.empty() ? GridOrderExecutor::findUnknownClient() : nullptr;
    int targets = 0;
    for (const TopWindow& top : windows) {
        if (!isTarget(top, title, treeClient)) continue;
        ++targets;
        report.heading(L"目标窗口 " + std::to_wstring(targets) + L": " + describe(top));
        writeClientReport(report, top.window);
        if (hasTreeMenu(top.window)) writeGridReport(report, top.window);
        writeConfiguredReading(report, top.window, moduleDirectory() + L"broker_config.xml");
        report.heading(L"窗口树");
        writeWindowTree(report, top.window);
    }
    if (!targets) {
        report.heading(L"没有找到目标窗口");
        report.line(L"请先启动并登录券商软件, 打开买入、卖出、撤单、持仓页面各一次, 再运行本程序;");
        report.line(L"或者在命令行给出券商软件窗口标题中的文字: HalyardProbe.exe 网上交易");
    }
    return report;
}

// Beside the program; where that folder cannot be written, in the user's temporary folder.
std::wstring writeReport(const ProbeReport& report) {
    const std::string bytes = report.fileBytes();
    std::wstring path = moduleDirectory() + kReportName;
    if (replaceFileAtomically(path, bytes)) return path;
    wchar_t temp[MAX_PATH + 1] = {};
    if (!GetTempPathW(MAX_PATH + 1, temp)) return L"";
    path = std::wstring(temp) + kReportName;
    return replaceFileAtomically(path, bytes) ? path : L"";
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring path = writeReport(makeReport(titleArgument()));
    if (path.empty()) {
        MessageBoxW(nullptr, L"无法写入报告文件", L"HalyardProbe", MB_OK | MB_ICONERROR);
        return 1;
    }
    const std::wstring text =
        L"报告已写入:\n" + path + L"\n\n请把这个文件发给我们。本程序只读取窗口, 没有点击或输入任何内容。";
    MessageBoxW(nullptr, text.c_str(), L"HalyardProbe", MB_OK | MB_ICONINFORMATION);
    return 0;
}

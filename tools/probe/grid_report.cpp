#include "probe/grid_report.h"

#include <cwctype>
#include <string>
#include <vector>

#include "broker/grid_order_form.h"
#include "broker/remote_tree.h"
#include "broker/window_toolkit.h"
#include "probe/window_tree.h"

namespace halyard::probe {
namespace {

struct FormControl {
    int id;
    const wchar_t* role;
};

constexpr FormControlIds kUsualIds;
const FormControl kFormControls[] = {
    {kUsualIds.code, L"代码"},
    {kUsualIds.price, L"价格"},
    {kUsualIds.quantity, L"数量"},
    {kUsualIds.orderButton, L"下单按钮"},
};

std::wstring className(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

// Brokers' builds name their drawn grid differently; every class with "grid" in it is shown.
bool looksLikeGrid(HWND window) {
    std::wstring name = className(window);
    for (wchar_t& c : name) c = static_cast<wchar_t>(std::towlower(c));
    return name.find(L"grid") != std::wstring::npos;
}

BOOL CALLBACK collectWindow(HWND window, LPARAM param) {
    auto* found = reinterpret_cast<std::vector<HWND>*>(param);
    found->push_back(window);
    return found->size() < static_cast<size_t>(kMaxTreeWindows);
}

std::vector<HWND> allDescendants(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(parent, collectWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND descendantWithId(HWND page, int id) {
    for (HWND window : allDescendants(page))
        if (GetDlgCtrlID(window) == id) return window;
    return nullptr;
}

void writeTree(ProbeReport& report, HWND tree) {
    report.line(describeWindow(tree), 1);
    RemoteTree remote(tree);
    const std::optional<std::vector<RemoteTreeItem>> items =
        remote ? remote.items() : std::optional<std::vector<RemoteTreeItem>>();
    if (!items) {
        report.line(L"读不到这个菜单 (软件没有响应, 或者权限不够)", 2);
        return;
    }
    if (items->empty()) report.line(L"菜单是空的", 2);
    for (const RemoteTreeItem& item : *items)
        report.line(L"深度 " + std::to_wstring(item.depth) + L": " + quoted(item.label), 2 + item.depth);
}

// The pages the client has made so far; one made on first show is missing until the investor
// has opened it.
void writeForms(ProbeReport& report, HWND client) {
    report.heading(
        L"下单表单 (Halyard 找控件 1032 代码、1033 价格、1034 数量、1006 下单按钮; 只看已经打开过的页面)");
    int forms = 0;
    for (HWND page : findDescendants(client, L"#32770")) {
        std::wstring present, missing;
        for (const FormControl& control : kFormControls) {
            std::wstring& list = descendantWithId(page, control.id) ? present : missing;
            list += (list.empty() ? L"" : L", ") + std::to_wstring(control.id) + L" " + control.role;
        }
        if (present.empty()) continue;
        ++forms;
        report.line(describeWindow(page), 1);
        report.line(L"有: " + present + L"; 缺: " + (missing.empty() ? std::wstring(L"(无)") : missing), 2);
    }
    if (!forms) report.line(L"没有找到下单表单: 请先打开买入和卖出页面各一次", 1);
}

void writeGrids(ProbeReport& report, HWND client) {
    report.heading(L"表格 (类名含 \"Grid\" 的窗口; Halyard 复制类 \"CVirtualGridCtrl\" 的表格)");
    int grids = 0;
    for (HWND window : allDescendants(client)) {
        if (!looksLikeGrid(window)) continue;
        ++grids;
        HWND page = GetParent(window);
        report.line(describeWindow(window), 1);
        report.line(L"所在页面: " + (page ? describeWindow(page) : std::wstring(L"无")), 2);
    }
    if (!grids) report.line(L"没有表格: 请先打开持仓、委托和撤单页面各一次", 1);
}

}  // namespace

bool hasTreeMenu(HWND window) {
    return !findDescendants(window, L"SysTreeView32").empty();
}

void writeGridReport(ProbeReport& report, HWND client) {
    report.heading(L"树形菜单 (SysTreeView32, 按 Halyard 的方式读取; 不选中任何项)");
    const std::vector<HWND> trees = findDescendants(client, L"SysTreeView32");
    if (trees.empty()) report.line(L"没有树形菜单", 1);
    for (HWND tree : trees) writeTree(report, tree);
    writeForms(report, client);
    writeGrids(report, client);
}

}  // namespace halyard::probe

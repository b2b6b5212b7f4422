#include "probe/client_report.h"

#include <string>
#include <vector>

#include "broker/order_panel_captions.h"
#include "broker/panel_recognition.h"
#include "broker/remote_list_reader.h"
#include "broker/window_toolkit.h"
#include "probe/window_tree.h"

namespace halyard::probe {
namespace {

struct PageKind {
    const wchar_t* name;
    const wchar_t* rule;
    bool (*test)(HWND panel);
};

bool isBuyForm(HWND panel) {
    return hasButtonWithCaption(panel, kBuyOrderCaption);
}
bool isSellForm(HWND panel) {
    return hasButtonWithCaption(panel, kSellOrderCaption);
}

const PageKind kPageKinds[] = {
    {L"买入页面", L"有按钮 \"买入下单\"", isBuyForm},
    {L"卖出页面", L"有按钮 \"卖出下单\"", isSellForm},
    {L"持仓页面", L"列表标题含 \"浮动盈亏\" 和 \"盈亏比例(%)\"", isPositionsPanel},
    {L"撤单页面", L"列表标题含 \"买卖标志\"、\"委托价格\" 和 \"委托数量\"", isOrdersPanel},
};

std::wstring count(HWND panel, const wchar_t* className) {
    return std::to_wstring(findDescendants(panel, className).size()) + L" 个 " + className;
}

// The dialogs among which Halyard looks for pages: below the toolbar's grandparent, or, when
// the client has no such toolbar, anywhere below its main window.
std::vector<HWND> pagePanels(HWND client, HWND toolbar) {
    HWND top = toolbar ? grandparent(toolbar) : nullptr;
    return findDescendants(top ? top : client, L"#32770");
}

void writeToolbars(ProbeReport& report, HWND client, HWND& mainToolbar) {
    report.heading(L"工具栏 (Halyard 找类 \"MHPToolBar\"、文字 \"MainViewBar\" 的窗口)");
    const std::vector<HWND> toolbars = findDescendants(client, L"MHPToolBar");
    if (toolbars.empty()) report.line(L"没有 MHPToolBar 工具栏: Halyard 无法点击这个软件的页面", 1);
    for (HWND toolbar : toolbars) {
        const bool used = windowText(toolbar) == L"MainViewBar";
        if (used && !mainToolbar) mainToolbar = toolbar;
        report.line(describeWindow(toolbar) + (used ? L"  <- Halyard 使用这个工具栏" : L""), 1);
    }
    if (mainToolbar) {
        HWND top = grandparent(mainToolbar);
        report.line(L"页面所在窗口 (工具栏的上上级): " + (top ? describeWindow(top) : L"无"), 1);
    }
}

void writePages(ProbeReport& report, const std::vector<HWND>& panels) {
    report.heading(L"页面识别 (按 Halyard 自己的规则; 只识别已经打开过的页面)");
    std::vector<int> found(std::size(kPageKinds), 0);
    for (HWND panel : panels) {
        std::wstring kinds;
        for (size_t k = 0; k < std::size(kPageKinds); ++k) {
            if (!kPageKinds[k].test(panel)) continue;
            ++found[k];
            kinds += std::wstring(kinds.empty() ? L"" : L", ") + kPageKinds[k].name;
        }
        report.line(describeWindow(panel), 1);
        report.line(L"识别为: " + (kinds.empty() ? std::wstring(L"(无)") : kinds) + L"; " +
                        count(panel, L"Edit") + L", " + count(panel, L"Static") + L", " +
                        count(panel, L"Button"),
                    2);
    }
    for (size_t k = 0; k < std::size(kPageKinds); ++k) {
        report.line(std::wstring(kPageKinds[k].name) + L": " +
                        (found[k] ? L"找到 " + std::to_wstring(found[k]) + L" 个" : std::wstring(L"未找到")) +
                        L" (规则: " + kPageKinds[k].rule + L")",
                    1);
    }
}

void writeList(ProbeReport& report, HWND list) {
    report.line(describeWindow(list), 1);
    RemoteList remote(list);
    const std::optional<int> rows = remote.itemCount();
    if (!rows) {
        report.line(L"读不到这个列表 (软件没有响应, 或者权限不够)", 2);
        return;
    }
    const std::vector<std::wstring> titles = readColumnTitles(list);
    report.line(L"行数 " + std::to_wstring(*rows) + L", 列标题 (" + std::to_wstring(titles.size()) + L"): " +
                    joined(titles),
                2);
    std::vector<ListCell> cells;
    const int shown = *rows < kSampleRows ? *rows : kSampleRows;
    for (int row = 0; row < shown; ++row)
        for (int column = 0; column < static_cast<int>(titles.size()); ++column)
            cells.push_back({row, column});
    const std::optional<std::vector<std::wstring>> texts = remote.cellTexts(cells);
    if (!texts) {
        report.line(L"读不到列表的内容", 2);
        return;
    }
    for (int row = 0; row < shown; ++row) {
        const auto first = texts->begin() + static_cast<long>(row * titles.size());
        report.line(L"第 " + std::to_wstring(row + 1) + L" 行: " +
                        joined(std::vector<std::wstring>(first, first + static_cast<long>(titles.size()))),
                    2);
    }
}

}  // namespace

bool hasClientToolbar(HWND window) {
    return !findDescendants(window, L"MHPToolBar").empty();
}

void writeClientReport(ProbeReport& report, HWND client) {
    HWND toolbar = nullptr;
    writeToolbars(report, client, toolbar);
    writePages(report, pagePanels(client, toolbar));
    report.heading(L"列表 (SysListView32, 按 Halyard 的方式读取, 前 " + std::to_wstring(kSampleRows) +
                   L" 行)");
    const std::vector<HWND> lists = findDescendants(client, L"SysListView32");
    if (lists.empty()) report.line(L"没有列表", 1);
    for (HWND list : lists) writeList(report, list);
}

}  // namespace halyard::probe

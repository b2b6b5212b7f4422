#include "broker/panel_recognition.h"

#include <algorithm>

#include "broker/remote_list_reader.h"
#include "broker/window_toolkit.h"

namespace {

HWND firstListOf(HWND window) {
    std::vector<HWND> lists = findDescendants(window, L"SysListView32");
    return lists.empty() ? nullptr : lists.front();
}

}  // namespace

std::vector<std::wstring> listTitlesOf(HWND window) {
    HWND list = firstListOf(window);
    return list ? readColumnTitles(list) : std::vector<std::wstring>();
}

HWND listHasExactColumns(HWND window, const std::vector<std::wstring>& expected) {
    HWND list = firstListOf(window);
    if (!list || expected.empty()) return nullptr;
    RemoteList remote(list);
    const int n = static_cast<int>(expected.size());
    std::optional<std::vector<std::wstring>> titles = remote.columnTitles(n + 1);
    if (!titles) return nullptr;
    // The read one past the last expected column must still show the last title.
    for (int i = 0; i <= n; ++i)
        if ((*titles)[i] != expected[std::min(i, n - 1)]) return nullptr;
    return list;
}

bool containsAllTitles(const std::vector<std::wstring>& required, const std::vector<std::wstring>& titles) {
    return std::all_of(required.begin(), required.end(), [&](const std::wstring& wanted) {
        return std::find(titles.begin(), titles.end(), wanted) != titles.end();
    });
}

bool isPositionsPanel(HWND window) {
    std::vector<std::wstring> titles = listTitlesOf(window);
    return !titles.empty() && containsAllTitles({L"浮动盈亏", L"盈亏比例(%)"}, titles);
}

bool isOrdersPanel(HWND window) {
    std::vector<std::wstring> titles = listTitlesOf(window);
    return !titles.empty() && containsAllTitles({L"买卖标志", L"委托价格", L"委托数量"}, titles);
}

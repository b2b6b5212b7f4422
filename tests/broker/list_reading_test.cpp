// The column readers and panel tests against the client's real list views.
#include <gtest/gtest.h>

#include "broker/panel_recognition.h"
#include "broker/remote_list_reader.h"
#include "broker/window_toolkit.h"
#include "sim_orders.h"

namespace {

// Opens the positions page (toolbar button 持仓) and returns its panel.
HWND openPositionsPage(const SimClientProcess& client) {
    std::vector<HWND> toolbars = findDescendants(client.mainWindow(), L"MHPToolBar", L"MainViewBar");
    if (toolbars.empty()) return nullptr;
    PostMessageW(toolbars.front(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(210, 20));
    PostMessageW(toolbars.front(), WM_LBUTTONUP, MK_LBUTTON, MAKELPARAM(210, 20));
    HWND panel = nullptr;
    waitUntil([&] { return (panel = clientPanelWith(client, L"刷新")) != nullptr; });
    return panel;
}

StringList numberedTitles(int count) {
    StringList titles;
    for (int i = 1; i <= count; ++i) titles.push_back(L"列" + std::to_wstring(i));
    return titles;
}

std::wstring joined(const StringList& titles) {
    std::wstring text;
    for (const std::wstring& title : titles) text += (text.empty() ? L"" : L",") + title;
    return text;
}

TEST(ListReading, ColumnTitlesStopAtTwentyAndExactMatchesNeedTheLastColumn) {
    SimClientProcess wide(
        {L"--title", L"模拟证券交易系统 宽表", L"--positions-columns", joined(numberedTitles(25))},
        kSameWidthClient);
    SimClientProcess narrow(
        {L"--title", L"模拟证券交易系统 窄表", L"--positions-columns", L"证券代码,股票,股票,浮动盈亏"},
        kSameWidthClient);
    ASSERT_TRUE(wide.started()) << wide.error();
    ASSERT_TRUE(narrow.started()) << narrow.error();
    HWND widePanel = openPositionsPage(wide);
    HWND narrowPanel = openPositionsPage(narrow);
    ASSERT_NE(widePanel, nullptr);
    ASSERT_NE(narrowPanel, nullptr);

    EXPECT_EQ(listTitlesOf(widePanel), numberedTitles(20));
    EXPECT_NE(listHasExactColumns(widePanel, numberedTitles(25)), nullptr);
    EXPECT_EQ(listHasExactColumns(widePanel, numberedTitles(24)), nullptr) << "a column follows the last one";
    StringList tooMany = numberedTitles(25);
    tooMany.push_back(L"列26");
    EXPECT_EQ(listHasExactColumns(widePanel, tooMany), nullptr);
    EXPECT_EQ(listHasExactColumns(widePanel, {}), nullptr);

    // Two equal neighbours end the walk at the first of them.
    EXPECT_EQ(listTitlesOf(narrowPanel), (StringList{L"证券代码", L"股票"}));
    EXPECT_NE(listHasExactColumns(narrowPanel, {L"证券代码", L"股票", L"股票", L"浮动盈亏"}), nullptr);
    EXPECT_EQ(listHasExactColumns(narrowPanel, {L"证券代码", L"股票", L"股票"}), nullptr);

    EXPECT_FALSE(isPositionsPanel(narrowPanel)) << "盈亏比例(%) is missing";
    EXPECT_FALSE(isPositionsPanel(wide.mainWindow()));
    EXPECT_EQ(listTitlesOf(nullptr), StringList{});

    HWND list = findDescendants(widePanel, L"SysListView32").front();
    EXPECT_GT(listRowHeight(list), 0);
}

TEST(ListReading, DefaultPanelsAreRecognisedByTheirTitles) {
    SimClientProcess client({L"--title", L"模拟证券交易系统 面板"}, kSameWidthClient);
    ASSERT_TRUE(client.started()) << client.error();
    HWND positions = openPositionsPage(client);
    ASSERT_NE(positions, nullptr);
    EXPECT_TRUE(isPositionsPanel(positions));
    EXPECT_FALSE(isOrdersPanel(positions));
    EXPECT_TRUE(containsAllTitles({L"成本价", L"证券代码"}, listTitlesOf(positions)));
    EXPECT_FALSE(containsAllTitles({L"成本价 "}, listTitlesOf(positions)));
}

}  // namespace

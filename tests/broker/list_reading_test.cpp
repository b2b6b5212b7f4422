// The column readers and panel tests against the client's real list views.
#include <gtest/gtest.h>

#include "broker/confirm_sweep.h"
#include "broker/grid_copier.h"
#include "broker/grid_order_form.h"
#include "broker/grid_popups.h"
#include "broker/held_control_key.h"
#include "broker/panel_recognition.h"
#include "broker/remote_list_reader.h"
#include "broker/remote_tree.h"
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

// The grid family as the executor reaches it: the tree menu shows pages, the drawn grids are
// copied with Ctrl held for the client only and the investor's clipboard kept, the captcha is
// left to the investor, and the form is filled (typed where the edits ignore WM_SETTEXT), read
// back, pressed and its pop-ups answered.
TEST(ListReading, GridClientIsReachedThroughItsTreeCopiesFormAndPopups) {
    for (const wchar_t* variant : {L"", L"typed-edits"}) {
        SCOPED_TRACE(variant);
        std::vector<std::wstring> arguments{L"--family",        L"grid", L"--captcha-first", L"2",
                                            L"--captcha-every", L"0"};
        if (*variant) arguments.insert(arguments.end(), {L"--variant", variant});
        SimClientProcess client(arguments, kSameWidthClient);
        ASSERT_TRUE(client.started()) << client.error();
        const std::vector<HWND> trees = findDescendants(client.mainWindow(), L"SysTreeView32");
        ASSERT_EQ(trees.size(), 1u);
        RemoteTree tree(trees.front());
        const std::optional<std::vector<RemoteTreeItem>> items = tree.items();
        ASSERT_TRUE(items);
        const std::vector<std::pair<int, std::wstring>> menu{
            {0, L"买入[F1]"}, {0, L"卖出[F2]"}, {0, L"撤单[F3]"}, {0, L"查询[F4]"},
            {1, L"资金股票"}, {1, L"当日委托"}, {1, L"当日成交"}};
        ASSERT_EQ(items->size(), menu.size());
        for (size_t i = 0; i < menu.size(); ++i)
            EXPECT_EQ(std::make_pair((*items)[i].depth, (*items)[i].label), menu[i]) << i;
        auto show = [&](size_t item, const wchar_t* page) -> HWND {
            const size_t before = client.journal().size();
            if (!tree.select((*items)[item].handle) ||
                !client.waitForAfter(before, [&](const JournalEvent& e) {
                    return e.event == "page_opened" && e.text("page") == page;
                }))
                return nullptr;
            return visibleDialogChild(GetParent(trees.front()));
        };

        HWND positions = show(4, L"positions");
        ASSERT_NE(positions, nullptr);
        HWND grid = GetDlgItem(positions, 1047);
        ASSERT_TRUE(halyard::testing::setClipboardText(L"投资者的文字"));
        const GridCopy copied = copyGridText(grid);
        ASSERT_EQ(copied.outcome, GridCopyOutcome::Copied);
        EXPECT_EQ(copied.text.substr(0, copied.text.find(L"\r\n")),
                  L"证券代码\t证券名称\t股票余额\t可用余额\t冻结数量\t成本价\t市价\t盈亏\t盈亏比例(%)\t市值");
        EXPECT_NE(copied.text.find(L"\r\n600000\t浦发银行\t10000\t10000\t"), std::wstring::npos);
        EXPECT_EQ(halyard::testing::clipboardText(), L"投资者的文字");
        // The client's own GetKeyState: a 'C' posted now finds Ctrl up.
        postKeyPress(grid, 'C');
        EXPECT_TRUE(client.waitFor([](const JournalEvent& e) { return e.text("reason") == L"no_ctrl"; }));

        // The second copy meets the captcha: reported, and neither Halyard nor its sweep answers it.
        EXPECT_EQ(copyGridText(grid).outcome, GridCopyOutcome::CaptchaShown);
        const auto asked = client.waitFor("captcha_asked");
        ASSERT_TRUE(asked);
        SweepScope scope;
        scope.watchProcess(client.processId());
        scope.ownPressStarted();
        sweepConfirmDialogs(scope);
        EXPECT_EQ(copyGridText(grid).outcome, GridCopyOutcome::CaptchaShown);
        EXPECT_NE(findCaptcha(client.processId()), nullptr);
        EXPECT_TRUE(eventsNamed(client, "captcha_answered").empty() &&
                    eventsNamed(client, "captcha_cancelled").empty());
        EXPECT_TRUE(scope.takeNotices().empty());
        ASSERT_TRUE(client.send(L"captcha " + asked->text("code")));
        ASSERT_TRUE(waitUntil([&] { return !findCaptcha(client.processId()); }));
        EXPECT_EQ(copyGridText(grid).outcome, GridCopyOutcome::Copied);

        HWND sell = show(1, L"sell");
        ASSERT_NE(sell, nullptr);
        {
            GridOrderForm untouched(sell);
            EXPECT_EQ(untouched.fill(L"600000", L"8.80", L"100"), FormOutcome::Ready);
        }
        EXPECT_EQ(getTextByMessage(GetDlgItem(sell, FormControlIds{}.code)), L"")
            << "a form not pressed is put back";
        EXPECT_EQ(getTextByMessage(GetDlgItem(sell, FormControlIds{}.quantity)), L"");
        GridOrderForm form(sell);
        EXPECT_EQ(form.quote(L"600000"), L"8.88") << "the client's late quote";
        ASSERT_EQ(form.fill(L"600000", L"", L"300"), FormOutcome::Ready);
        ASSERT_EQ(form.press(), ButtonPress::Pressed);
        const std::optional<std::wstring> notice = confirmOrder(client.processId(), 5000).notice;
        const auto accepted = client.waitFor("order_accepted");
        ASSERT_TRUE(notice && accepted);
        EXPECT_NE(notice->find(L"合同编号：" + std::to_wstring(static_cast<int>(accepted->number("id")))),
                  std::wstring::npos);
        const auto submitted = client.waitFor("order_submitted");
        EXPECT_EQ(submitted->text("price") + L" " + submitted->text("quantity"), L"8.88 300");
        EXPECT_EQ(!eventsNamed(client, "text_ignored").empty(), *variant != L'\0')
            << "typed only where needed";
    }
}

}  // namespace

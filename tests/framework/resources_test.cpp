// The resources as the running program sees them: Chinese texts survive the resource compiler,
// every icon loads, the menu holds its two commands.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "dialog_test_support.h"
#include "framework/application.h"
#include "framework/dialog.h"
#include "framework/icon.h"
#include "res/resource.h"

namespace {

class ResourcesTest : public DialogTest {};

std::wstring menuText(HMENU menu, UINT command) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, command, text, 128, MF_BYCOMMAND);
    return text;
}

TEST_F(ResourcesTest, TheAboutBoxShowsItsCaptionAndLine) {
    halyard::Dialog about(IDD_ABOUTBOX);
    halyard::ModalDialogThread run(about);
    HWND window = run.waitForDialog();
    ASSERT_TRUE(window);
    EXPECT_EQ(L"关于 Halyard", halyard::windowText(window));
    EXPECT_EQ(L"确定", run.text(IDOK));
    bool found = false;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        found = found || halyard::windowText(child) == L"Halyard，1.0 版";
    EXPECT_TRUE(found);
    run.click(IDOK);
    ASSERT_TRUE(run.waitForEnd());
    EXPECT_EQ(IDOK, run.result());
}

TEST_F(ResourcesTest, TheMainWindowTemplateHasItsSizeCaptionAndTexts) {
    halyard::Dialog main(IDD_HALYARD_DIALOG);
    halyard::ModalDialogThread run(main);
    HWND window = run.waitForDialog();
    ASSERT_TRUE(window);
    EXPECT_EQ(L"Halyard", halyard::windowText(window));
    RECT client{};
    GetClientRect(window, &client);
    RECT units{0, 0, 395, 278};
    MapDialogRect(window, &units);
    EXPECT_EQ(units.right, client.right);
    EXPECT_EQ(units.bottom, client.bottom);
    LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_EQ(L"追单", run.text(IDC_TRACE_ORDER));
    EXPECT_EQ(L"全平", run.text(IDC_CLOSE_ALL));
    EXPECT_EQ(L"全撤", run.text(IDC_CANCEL_ALL));
    EXPECT_EQ(L"支持", run.text(IDC_SUPPORT_LINK));
    HWND list = GetDlgItem(window, IDC_POSITION_LIST);
    ASSERT_TRUE(list);
    EXPECT_TRUE(GetWindowLongW(list, GWL_STYLE) & LVS_OWNERDATA);
    for (int id :
         {IDC_MONITOR_INTERVAL, IDC_RUN_BUTTON, IDC_ALERT_SETTINGS, IDC_BROKER_SETTINGS, IDC_HELP_LINK})
        EXPECT_TRUE(GetDlgItem(window, id)) << id;
}

TEST_F(ResourcesTest, TheRuleEditorTemplateHasItsSizeAndTexts) {
    halyard::Dialog editor(IDD_PRICE_SETTING);
    halyard::ModalDialogThread run(editor);
    HWND window = run.waitForDialog();
    ASSERT_TRUE(window);
    RECT client{};
    GetClientRect(window, &client);
    RECT units{0, 0, 302, 144};
    MapDialogRect(window, &units);
    EXPECT_EQ(units.right, client.right);
    EXPECT_EQ(units.bottom, client.bottom);
    EXPECT_EQ(L"按百分比", run.text(IDC_STOP_LOSS_PERCENT));
    EXPECT_EQ(L"按绝对价格", run.text(IDC_TAKE_PROFIT_PRICE));
    EXPECT_EQ(L"跟踪止损", run.text(IDC_APPLY_MOVE_STOP_LOSS));
    EXPECT_EQ(L"条件成立时仅提醒而不实际下单", run.text(IDC_MESSAGE_ONLY));
    EXPECT_EQ(L"确定", run.text(IDOK));
    EXPECT_EQ(L"取消", run.text(IDCANCEL));
    bool found = false;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        found = found || halyard::windowText(child) == L"个最小变动单位发单(为了保证成交)";
    EXPECT_TRUE(found);
}

TEST_F(ResourcesTest, MenuStringAndIconsLoad) {
    HINSTANCE module = halyard::Application::resourceInstance();
    HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(IDR_POSITION_MENU));
    ASSERT_TRUE(menu);
    HMENU first = GetSubMenu(menu, 0);
    HMENU second = GetSubMenu(menu, 1);
    ASSERT_TRUE(first);
    ASSERT_TRUE(second);
    EXPECT_EQ(1, GetMenuItemCount(first));
    EXPECT_EQ(ID_SELL_PLUS_FIVE, static_cast<int>(GetMenuItemID(first, 0)));
    EXPECT_EQ(L"加价５％卖出(测试)", menuText(first, ID_SELL_PLUS_FIVE));
    EXPECT_EQ(ID_CANCEL_SELL_ORDER, static_cast<int>(GetMenuItemID(second, 0)));
    EXPECT_EQ(L"撤单", menuText(second, ID_CANCEL_SELL_ORDER));
    DestroyMenu(menu);

    wchar_t text[128] = {};
    ASSERT_GT(LoadStringW(module, IDS_ABOUTBOX, text, 128), 0);
    EXPECT_EQ(std::wstring(L"关于 Halyard(&A)..."), text);

    for (int id : {IDR_MAINFRAME, IDI_BROKER_SETTINGS, IDI_STOPPED, IDI_RUNNING, IDI_ALERT_SETTINGS}) {
        EXPECT_TRUE(halyard::loadIcon(id)) << id;
        EXPECT_TRUE(halyard::loadSmallIcon(id)) << id;
    }
    EXPECT_FALSE(halyard::loadIcon(999));
}

TEST_F(ResourcesTest, AMissingTemplateDoesNotRun) {
    halyard::Dialog missing(4321);
    EXPECT_EQ(-1, missing.doModal());
    EXPECT_EQ(nullptr, missing.hwnd());
}

}  // namespace

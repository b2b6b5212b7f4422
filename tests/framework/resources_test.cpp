// The resources as the running program sees them: Chinese texts survive the resource compiler,
// every icon loads, the menu holds its two commands, dialogs open where users expect them.
#include <windows.h>

#include <gtest/gtest.h>

#include <tuple>

#include "framework/application.h"
#include "framework/dialog.h"
#include "framework/dialog_placement.h"
#include "framework/icon.h"
#include "res/resource.h"
#include "support/dialog_test_support.h"

namespace {

class ResourcesTest : public DialogTest {};

TEST_F(ResourcesTest, TemplatesKeepTheirCaptionsAndTexts) {
    const struct {
        int id;
        const wchar_t* caption;
        int control;
        const wchar_t* text;
    } templates[] = {{IDD_HALYARD_DIALOG, L"Halyard", IDC_TRACE_ORDER, L"追单"},
                     {IDD_PRICE_SETTING, L"止盈止损设置", IDC_MESSAGE_ONLY, L"条件成立时仅提醒而不实际下单"},
                     {IDD_ABOUTBOX, L"关于 Halyard", IDOK, L"确定"},
                     {IDD_BROKER_SETTING, L"券商软件设置", IDC_SET_POSITION_COLUMNS, L"设置持仓列名对照"},
                     {IDD_BROKER_CHILD_SETTING, L"", IDC_DELETE_ROW, L"删除行"}};
    for (const auto& t : templates) {
        SCOPED_TRACE(t.caption);
        halyard::Dialog dialog(t.id);
        halyard::ModalDialogThread run(dialog);
        HWND window = run.waitForDialog();
        ASSERT_TRUE(window);
        EXPECT_EQ(halyard::controlText(window), t.caption);
        EXPECT_EQ(run.text(t.control), t.text);
        run.command(IDCANCEL);
        ASSERT_TRUE(run.waitForEnd());
    }
    halyard::Dialog missing(4321);
    EXPECT_EQ(missing.doModal(), -1);
}

TEST_F(ResourcesTest, TemplatesAtTheOriginOpenCentredOverTheirOwner) {
    HINSTANCE module = halyard::Application::resourceInstance();
    for (int id : {IDD_HALYARD_DIALOG, IDD_PRICE_SETTING, IDD_ABOUTBOX})
        EXPECT_TRUE(halyard::templateWantsCentring(module, id)) << id;
    EXPECT_FALSE(halyard::templateWantsCentring(module, 4321));

    HWND owner = CreateWindowExW(0, L"Static", L"owner", WS_POPUP | WS_VISIBLE, 120, 90, 640, 420, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_TRUE(owner);
    // The dialog's thread disables and enables the owner, which answers from this thread.
    auto pumpWhile = [](auto waiting) {
        for (int i = 0; i < 200 && waiting(); ++i) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        }
    };
    halyard::Dialog dialog(IDD_PRICE_SETTING, owner);
    halyard::ModalDialogThread run(dialog);
    HWND window = nullptr;
    pumpWhile([&] { return !(window = run.waitForDialog(50)); });
    ASSERT_TRUE(window);
    RECT placed{};
    GetWindowRect(window, &placed);
    EXPECT_NEAR((placed.left + placed.right) / 2, 120 + 640 / 2, 1);
    EXPECT_NEAR((placed.top + placed.bottom) / 2, 90 + 420 / 2, 1);
    run.command(IDCANCEL);
    bool ended = false;
    pumpWhile([&] { return !(ended = run.waitForEnd(50)); });
    EXPECT_TRUE(ended);
    DestroyWindow(owner);
}

TEST_F(ResourcesTest, MenuStringAndIconsLoad) {
    HINSTANCE module = halyard::Application::resourceInstance();
    HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(IDR_POSITION_MENU));
    ASSERT_TRUE(menu);
    wchar_t text[128] = {};
    for (const auto& [position, command, label] : {std::tuple{0, ID_SELL_PLUS_FIVE, L"加价５％卖出(测试)"},
                                                   std::tuple{1, ID_CANCEL_SELL_ORDER, L"撤单"}}) {
        HMENU sub = GetSubMenu(menu, position);
        ASSERT_TRUE(sub);
        EXPECT_EQ(GetMenuItemCount(sub), 1);
        EXPECT_EQ(static_cast<int>(GetMenuItemID(sub, 0)), command);
        GetMenuStringW(sub, static_cast<UINT>(command), text, 128, MF_BYCOMMAND);
        EXPECT_EQ(std::wstring(text), label);
    }
    DestroyMenu(menu);
    ASSERT_GT(LoadStringW(module, IDS_ABOUTBOX, text, 128), 0);
    EXPECT_EQ(std::wstring(text), L"关于 Halyard(&A)...");
    for (int id : {IDR_MAINFRAME, IDI_BROKER_SETTINGS, IDI_STOPPED, IDI_RUNNING, IDI_ALERT_SETTINGS})
        EXPECT_TRUE(halyard::loadIcon(id) && halyard::loadSmallIcon(id)) << id;
    EXPECT_FALSE(halyard::loadIcon(999));
}

}  // namespace

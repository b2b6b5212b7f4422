// The main window of the running program: start-up messages, 全平, 全撤, the +5 % test sale,
// the rule editor and a second start.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "common/file_store.h"
#include "common/text_encoding.h"
#include "e2e/scenario.h"

namespace e2e {
namespace {

using WindowScenario = Scenario;

// A point inside row `row` of the main window's position list, in list coordinates.
POINT rowPoint(HWND list, int row) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    RECT area{};
    if (header) GetWindowRect(header, &area);
    return POINT{40, (area.bottom - area.top) + 8 + row * 17};
}

void postMouse(HWND window, UINT message, WPARAM keys, POINT point) {
    PostMessageW(window, message, keys, MAKELPARAM(point.x, point.y));
}

HWND waitForVisible(const wchar_t* className, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        HWND window = FindWindowW(className, nullptr);
        if (window && IsWindowVisible(window)) return window;
        Sleep(50);
    }
    return nullptr;
}

// Text of a control of another process (its own text, not the window caption).
std::wstring controlText(HWND control) {
    wchar_t text[1024] = {};
    SendMessageTimeoutW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        nullptr);
    return text;
}

// The message box that comes up now (not `besides`, a dialog already showing), answered.
std::wstring answer(HalyardProcess& program, int button, HWND besides = nullptr) {
    HWND box = nullptr;
    for (int i = 0; i < 400 && !box; ++i) {
        box = program.waitForMessageBox(50);
        if (box == besides) box = nullptr;
        if (!box) Sleep(50);
    }
    if (!box) return L"(no message box)";
    std::wstring text = messageBoxText(box);
    pressMessageBoxButton(box, button);
    for (int i = 0; i < 300 && IsWindow(box); ++i) Sleep(20);
    return text;
}

const wchar_t kNotMatchingStart[] = L"券商软件还没运行或者当前配置券商不正确\n";

TEST_F(WindowScenario, StartUpMessagesForAMissingOrUnknownClient) {
    // A hand-edited rule file with a syntax error is told first, and is byte-identical after exit.
    const std::string broken =
        "<?xml version=\"1.0\"?>\r\n<Config>\r\n<Stock Code=\"600000\">\r\n</Config>\r\n";
    beforeHalyardStarts = [&](const std::wstring& folder) {
        ASSERT_TRUE(::halyard::replaceFileAtomically(folder + L"Stock_Config.xml", broken));
    };
    RuleTable rules;
    startHalyard(rules, 10, 0, 0, 1, /*neverFoundValidBroker=*/1);
    const std::wstring told = answer(*halyard, IDOK);
    EXPECT_EQ(
        told.rfind(L"规则文件无法读取: " + programFolder() + L"Stock_Config.xml\n原因: XML 格式错误: 第 3 行",
                   0),
        0u)
        << ::halyard::toUtf8(told);
    EXPECT_EQ(answer(*halyard, IDOK), L"券商软件还没运行");
    ASSERT_NE(halyard->waitForMainWindow(), nullptr);
    ASSERT_TRUE(halyard->close());
    std::string after;
    EXPECT_TRUE(::halyard::readWholeFile(programFolder() + L"Stock_Config.xml", after));
    EXPECT_EQ(after, broken);
    EXPECT_EQ(readMonitorSetting(L"NeverFoundValidBroke", -1), 1);
    beforeHalyardStarts = nullptr;

    // A client whose title does not hold the configured window name: never connected before,
    // so detection is offered (OK/Cancel) with the executor's reason.
    startClient(kPortfolio, L"--title 测试证券交易系统");
    startHalyard(rules, 10, 0, 0, 1, 1);
    HWND box = halyard->waitForMessageBox(30000);
    ASSERT_NE(box, nullptr);
    screenshot("offer");
    std::wstring text = answer(*halyard, IDCANCEL);
    EXPECT_EQ(text.rfind(std::wstring(kNotMatchingStart) + L"1.你可以重新启动助手试试.", 0), 0u)
        << ::halyard::toUtf8(text);
    EXPECT_NE(text.find(L"是否配置券商?\n错误信息:找不到券商软件主窗口"), std::wstring::npos)
        << ::halyard::toUtf8(text);
    ASSERT_NE(halyard->waitForMainWindow(), nullptr);
    ASSERT_TRUE(halyard->close());

    startHalyard(rules, 10, 0, 0, 1, 0);
    text = answer(*halyard, IDOK);
    EXPECT_EQ(text.rfind(std::wstring(kNotMatchingStart) + L"请确保360等安全软件没有运行网购模式", 0), 0u)
        << ::halyard::toUtf8(text);
    EXPECT_NE(text.find(L"错误信息:找不到券商软件主窗口"), std::wstring::npos);
    ASSERT_NE(halyard->waitForMainWindow(), nullptr);
}

TEST_F(WindowScenario, TestSaleCloseAllAndCancelAll) {
    // 000858 only alerts; its rule has the orders list read every cycle.
    startClient(std::string(kPortfolio) +
                "position 000858 五粮液 200 200 160.00 142.50\nclose 000858 142.50\n");
    RuleTable rules;
    rules[L"000858"] = stopLossRule(L"000858", 5);
    rules[L"000858"].MessageOnly = 1;
    startHalyard(rules, 10, 0, 0);
    expectMainWindow();
    HWND list = GetDlgItem(mainWindow, 1000);

    // Right-click on the first row: the menu offers "加价５％卖出(测试)"; Down and Enter choose it.
    postMouse(list, WM_RBUTTONDOWN, MK_RBUTTON, rowPoint(list, 0));
    postMouse(list, WM_RBUTTONUP, 0, rowPoint(list, 0));
    HWND menu = waitForVisible(L"#32768", 10000);
    ASSERT_NE(menu, nullptr);
    screenshot("menu");
    PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    if (!waitForSellOrders(1, 8000)) {
        // A menu that ignores posted keys: close it and give the command it carries.
        PostMessageW(mainWindow, WM_CANCELMODE, 0, 0);
        PostMessageW(mainWindow, WM_COMMAND, 32773, 0);
        ASSERT_TRUE(waitForSellOrders(1));
    }
    auto sells = sellOrders();
    EXPECT_EQ(sells[0].field("code"), "600000");
    EXPECT_EQ(sells[0].field("quantity"), "10000");
    EXPECT_DOUBLE_EQ(priceOf(sells[0]), 9.32);  // 8.88 x 1.05 = 9.324, on the tick
    ASSERT_TRUE(client->waitForEvents("order_accepted", 1, 20000));
    Sleep(5000);  // past the spacing of sales, counted from the end of that sale

    PostMessageW(GetDlgItem(mainWindow, 1020), BM_CLICK, 0, 0);
    EXPECT_EQ(answer(*halyard, IDCANCEL), L"确定要全部平仓?");
    Sleep(1000);
    EXPECT_EQ(sellOrders().size(), 1u);
    PostMessageW(GetDlgItem(mainWindow, 1020), BM_CLICK, 0, 0);
    EXPECT_EQ(answer(*halyard, IDOK), L"确定要全部平仓?");
    PostMessageW(GetDlgItem(mainWindow, 1020), BM_CLICK, 0, 0);  // pressed again while it runs: nothing
    // 600000 is frozen by its pending order; 000001 sells, then 000858 once the spacing allows.
    const std::wstring summary = answer(*halyard, IDOK);
    EXPECT_EQ(summary.rfind(L"全平结束: 2 笔已提交, 0 笔没有卖出", 0), 0u) << ::halyard::toUtf8(summary);
    sells = sellOrders();
    ASSERT_EQ(sells.size(), 3u);
    EXPECT_EQ(sells[1].field("code"), "000001");
    EXPECT_EQ(sells[1].field("quantity"), "5000");
    EXPECT_DOUBLE_EQ(priceOf(sells[1]), 11.30);
    EXPECT_EQ(sells[2].field("code"), "000858");

    ASSERT_TRUE(client->send(L"position 000858 五粮液 400 200 160.00 142.50"));  // its alert reads the orders
    Sleep(4000);
    PostMessageW(GetDlgItem(mainWindow, 1021), BM_CLICK, 0, 0);
    EXPECT_EQ(answer(*halyard, IDOK), L"确定要全部撤单(卖出单)?");
    ASSERT_TRUE(client->waitForEvents("order_cancelled", 3, 40000));
    const std::wstring cancelSummary = answer(*halyard, IDOK);
    EXPECT_EQ(cancelSummary.rfind(L"全撤结束: 3 笔已撤, 0 笔没有撤销", 0), 0u)
        << ::halyard::toUtf8(cancelSummary);
    const auto cancelled = client->events("order_cancelled");
    EXPECT_EQ(cancelled[0].field("code"), "600000");
    EXPECT_EQ(cancelled[1].field("code"), "000001");
    screenshot("after");
}

TEST_F(WindowScenario, RuleEditorValidatesAndSavesAtOnce) {
    startClient(kPortfolio);
    RuleTable rules;
    startHalyard(rules, 10, 0, 0);
    expectMainWindow();
    HWND list = GetDlgItem(mainWindow, 1000);
    const POINT row = rowPoint(list, 0);
    postMouse(list, WM_LBUTTONDOWN, MK_LBUTTON, row);
    postMouse(list, WM_LBUTTONUP, 0, row);
    postMouse(list, WM_LBUTTONDBLCLK, MK_LBUTTON, row);
    postMouse(list, WM_LBUTTONUP, 0, row);

    HWND editor = halyard->waitForMessageBox(20000);
    ASSERT_NE(editor, nullptr);
    wchar_t title[128] = {};
    GetWindowTextW(editor, title, 128);
    EXPECT_STREQ(title, L"浦发银行 止盈止损设置");
    auto field = [&](int id) { return controlText(GetDlgItem(editor, id)); };
    // A stock without a rule opens with the defaults.
    EXPECT_EQ(field(1003), L"5");
    EXPECT_EQ(field(1004), L"10");
    EXPECT_EQ(field(1010), L"5");
    EXPECT_EQ(field(1011), L"2");
    EXPECT_EQ(field(1032), L"0");
    screenshot("editor");

    SendMessageW(GetDlgItem(editor, 1003), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"abc"));
    pressMessageBoxButton(editor, IDOK);
    EXPECT_EQ(answer(*halyard, IDOK, editor), L"请输入一个数字。");
    ASSERT_TRUE(IsWindow(editor));
    EXPECT_TRUE(rulesOnDisk().empty());

    SendMessageW(GetDlgItem(editor, 1003), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"6.5"));
    SendMessageW(GetDlgItem(editor, 1032), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"2"));
    pressMessageBoxButton(editor, IDOK);
    for (int i = 0; i < 300 && IsWindow(editor); ++i) Sleep(20);
    ASSERT_FALSE(IsWindow(editor));
    Sleep(500);
    RuleTable saved = rulesOnDisk();  // written at once, not only at exit
    ASSERT_EQ(saved.count(L"600000"), 1u);
    EXPECT_FLOAT_EQ(saved[L"600000"].StopLoss, 6.5f);
    EXPECT_FLOAT_EQ(saved[L"600000"].Profit, 10.0f);
    EXPECT_EQ(saved[L"600000"].SlipPrice, 2);
    EXPECT_FALSE(saved[L"600000"].ApplyMoveStopLoss);
}

BOOL CALLBACK countMainWindows(HWND window, LPARAM data) {
    wchar_t title[32] = {};
    GetWindowTextW(window, title, 32);
    if (IsWindowVisible(window) && std::wstring(title) == L"Halyard" && GetDlgItem(window, 1000))
        ++*reinterpret_cast<int*>(data);
    return TRUE;
}

// Whether `lower` is behind `upper` in the desktop's z-order.
bool below(HWND lower, HWND upper) {
    for (HWND next = GetWindow(upper, GW_HWNDNEXT); next; next = GetWindow(next, GW_HWNDNEXT)) {
        if (next == lower) return true;
    }
    return false;
}

TEST_F(WindowScenario, SecondStartBringsTheFirstWindowBack) {
    startClient(kPortfolio);
    RuleTable rules;
    startHalyard(rules, 10, 0, 0);
    expectMainWindow();
    // The minimise box, as a user clicks it. Without a window manager Wine may keep the window
    // as it is; then only the lift to the front can be seen.
    PostMessageW(mainWindow, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    for (int i = 0; i < 100 && !IsIconic(mainWindow); ++i) Sleep(50);
    const bool minimised = IsIconic(mainWindow) != FALSE;
    // The client comes in front of it, as after the client's own pop-ups.
    SetWindowPos(client->mainWindow(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Sleep(500);
    ASSERT_TRUE(minimised || below(mainWindow, client->mainWindow()));

    HalyardProcess second(programFolder(), L"HAL-08");
    ASSERT_TRUE(second.started());
    ASSERT_TRUE(second.waitForExit(20000));
    EXPECT_EQ(second.exitCode(), 0u);
    int mainWindows = 0;
    EnumWindows(countMainWindows, reinterpret_cast<LPARAM>(&mainWindows));
    EXPECT_EQ(mainWindows, 1);
    if (minimised) {
        for (int i = 0; i < 100 && IsIconic(mainWindow); ++i) Sleep(50);
        EXPECT_FALSE(IsIconic(mainWindow));
    }
    // Lifted above the client, and not left topmost.
    for (int i = 0; i < 100 && below(mainWindow, client->mainWindow()); ++i) Sleep(50);
    EXPECT_TRUE(below(client->mainWindow(), mainWindow));
    EXPECT_EQ(GetWindowLongW(mainWindow, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

}  // namespace
}  // namespace e2e

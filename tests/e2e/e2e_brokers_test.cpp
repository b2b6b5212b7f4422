// The broker settings in the running program: a configuration whose 卖出 point misses the
// client's toolbar is corrected in the button editor; the file holds the correction as soon as
// the dialog closes, Halyard connects again, and the next fall through a stop loss is sold.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "common/file_store.h"
#include "common/text_encoding.h"
#include "e2e/scenario.h"

namespace e2e {
namespace {

using BrokersScenario = Scenario;

struct TitleSearch {
    DWORD processId;
    const wchar_t* title;
    HWND found;
};

BOOL CALLBACK findTitled(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<TitleSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
    wchar_t text[64] = {};
    GetWindowTextW(window, text, 64);
    if (std::wstring(text) != search->title) return TRUE;
    search->found = window;
    return FALSE;
}

// The program's enabled top-level window of that title (the dialog on top), or null.
HWND waitForWindow(DWORD processId, const wchar_t* title, DWORD timeoutMs = 20000) {
    const DWORD start = GetTickCount();
    do {
        TitleSearch search{processId, title, nullptr};
        EnumWindows(findTitled, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

bool waitUntilGone(HWND window, DWORD timeoutMs = 20000) {
    const DWORD start = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(50);
    }
    return true;
}

HWND editorOf(HWND list) {
    for (HWND child = GetWindow(list, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[16] = {};
        GetClassNameW(child, name, 16);
        if (std::wstring(name) == L"Edit" && IsWindowVisible(child)) return child;
    }
    return nullptr;
}

// The middle of a cell of another process's list, from messages that carry no pointer.
POINT cellPoint(HWND list, int row, int column) {
    int left = 0;
    for (int before = 0; before < column; ++before)
        left += static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(before), 0));
    const int width =
        static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
    auto viewHeight = [list](int rows) {
        return HIWORD(
            SendMessageW(list, LVM_APPROXIMATEVIEWRECT, static_cast<WPARAM>(rows), MAKELPARAM(-1, -1)));
    };
    const int rowHeight = viewHeight(2) - viewHeight(1);
    RECT header{};
    GetWindowRect(reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)), &header);
    return POINT{left + width / 2, (header.bottom - header.top) + rowHeight * row + rowHeight / 2};
}

const char kRightSell[] = "Name=\"卖出按钮\" y=\"20\" x=\"90\"";
const char kWrongSell[] = "Name=\"卖出按钮\" y=\"20\" x=\"400\"";

std::string brokerFile(const std::wstring& folder) {
    std::string bytes;
    ::halyard::readWholeFile(folder + L"broker_config.xml", bytes);
    return bytes;
}

TEST_F(BrokersScenario, AWrongSellPointCorrectedInTheEditorIsSavedAndSellsTheNextFall) {
    beforeHalyardStarts = [](const std::wstring& folder) {
        std::string bytes = brokerFile(folder);
        const size_t at = bytes.find(kRightSell);
        ASSERT_NE(at, std::string::npos);
        bytes.replace(at, sizeof kRightSell - 1, kWrongSell);
        ASSERT_TRUE(::halyard::replaceFileAtomically(folder + L"broker_config.xml", bytes));
    };
    startClient(kPortfolio);
    RuleTable rules;
    rules[L"600000"] = stopLossRule(L"600000", 5);
    startHalyard(rules, 10, 0, 0);
    // The sell page never opens at that point: the client does not match the configuration.
    HWND box = halyard->waitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(messageBoxText(box).rfind(L"券商软件还没运行或者当前配置券商不正确\n", 0), 0u);
    pressMessageBoxButton(box, IDOK);
    mainWindow = halyard->waitForMainWindow();
    ASSERT_NE(mainWindow, nullptr);

    PostMessageW(GetDlgItem(mainWindow, 1018), BM_CLICK, 0, 0);
    HWND settings = waitForWindow(halyard->processId(), L"券商软件设置");
    ASSERT_NE(settings, nullptr);
    PostMessageW(GetDlgItem(settings, 1019), BM_CLICK, 0, 0);
    HWND editor = waitForWindow(halyard->processId(), L"设置按钮位置");
    ASSERT_NE(editor, nullptr);
    HWND list = GetDlgItem(editor, 1000);
    const POINT sellX = cellPoint(list, 1, 1);  // 卖出按钮, X
    PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(sellX.x, sellX.y));
    HWND edit = nullptr;
    for (int i = 0; i < 200 && !edit; ++i, Sleep(50)) edit = editorOf(list);
    ASSERT_NE(edit, nullptr);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"90"));
    PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
    for (int i = 0; i < 200 && IsWindowVisible(edit); ++i) Sleep(50);
    screenshot("editor");
    PostMessageW(GetDlgItem(editor, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(waitUntilGone(editor));
    PostMessageW(GetDlgItem(settings, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(waitUntilGone(settings));
    EXPECT_NE(brokerFile(programFolder()).find(kRightSell), std::string::npos);

    // Connected again with the corrected point: no message, and the stop loss sells.
    Sleep(3000);
    EXPECT_EQ(findMessageBox(halyard->processId()), nullptr);
    ASSERT_TRUE(client->send(L"price 600000 8.00"));
    ASSERT_TRUE(waitForSellOrders(1, 40000));
    const auto sells = sellOrders();
    EXPECT_EQ(sells[0].field("code"), "600000");
    EXPECT_EQ(sells[0].field("quantity"), "10000");
    EXPECT_DOUBLE_EQ(priceOf(sells[0]), 8.00);
    screenshot("sold");
}

}  // namespace
}  // namespace e2e

// The simulated client's real windows, driven from another process as the program drives them.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "simclient/grid_ids.h"
#include "support/sim_client_process.h"

namespace halyard::testing {
namespace {

constexpr int kBuyX = 30, kSellX = 90, kOrdersX = 150, kPositionsX = 210, kToolbarY = 20;

LRESULT sendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

void setText(HWND window, const std::wstring& text) {
    sendTo(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// The program's press: state, button down and up at (5, 0), state set and cleared.
void press(HWND button) {
    sendTo(button, BM_SETSTATE, 0, 0);
    sendTo(button, WM_LBUTTONDOWN, 5, 5);
    sendTo(button, WM_LBUTTONUP, 5, 5);
    sendTo(button, BM_SETSTATE, 1, 0);
    sendTo(button, BM_SETSTATE, 0, 0);
}

std::wstring waitForText(HWND edit, DWORD timeoutMs = 3000) {
    const DWORD start = GetTickCount();
    while (true) {
        wchar_t buffer[256] = {};
        sendTo(edit, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buffer));
        if (buffer[0] || GetTickCount() - start > timeoutMs) return buffer;
        Sleep(20);
    }
}

std::string narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

// Every test runs against the 64-bit and the 32-bit client, whichever of them is built.
class SimClientWindowTest : public ::testing::TestWithParam<SimClientProcess::Bits> {
protected:
    void SetUp() override { start({}); }

    void start(std::vector<std::wstring> arguments) {
        if (!SimClientProcess::available(GetParam())) GTEST_SKIP() << "this width of the client is not built";
        arguments.insert(arguments.begin(), {L"--title", L"模拟证券-测试"});
        client = std::make_unique<SimClientProcess>(arguments, GetParam());
        ASSERT_TRUE(client->started()) << narrow(client->error());
        toolbar = findDescendant(client->mainWindow(), L"MHPToolBar", L"MainViewBar");
        ASSERT_NE(toolbar, nullptr);
        frame = GetParent(GetParent(toolbar));
        ASSERT_NE(frame, nullptr);
    }

    // Posts the toolbar click and returns the page's panel.
    HWND openPage(int x, const wchar_t* page) {
        const size_t before = client->journal().size();
        postClick(toolbar, x, kToolbarY);
        const auto opened = client->waitForAfter(before, [&](const JournalEvent& e) {
            return e.event == "page_opened" && e.text("page") == page;
        });
        if (!opened) return nullptr;
        for (HWND dialog : findDescendants(frame, L"#32770"))
            if (GetParent(dialog) == frame && IsWindowVisible(dialog)) return dialog;
        return nullptr;
    }

    // Presses the named button of the client's pop-up with that title, once it is up.
    bool answerPopup(const std::wstring& title, const wchar_t* button) {
        // The pop-up's title shows before its buttons are made: wait for the button too.
        HWND target = nullptr;
        for (int i = 0; i < 250 && !target; ++i) {
            if (HWND popup = waitForTopWindow(client->processId(), title, 0))
                target = findDescendant(popup, L"Button", button);
            if (!target) Sleep(20);
        }
        if (!target) return false;
        const size_t before = client->journal().size();
        press(target);
        press(target);  // the program presses twice; the second press must be harmless
        return client
            ->waitForAfter(before,
                           [&](const JournalEvent& e) {
                               return e.event == "popup_closed" && e.text("title") == title &&
                                      e.text("button") == button;
                           })
            .has_value();
    }

    struct Form {
        HWND code, price, quantity, order;
    };
    Form formOf(HWND panel) {
        const auto edits = findDescendants(panel, L"Edit");
        const auto buttons = findDescendants(panel, L"Button");
        if (edits.size() < 4 || buttons.empty()) return {};
        return {edits[0], edits[1], edits[3], buttons[0]};
    }

    // Fills the sell form and presses its button; the event the client journals at the end.
    std::optional<JournalEvent> sell(const Form& form, const std::wstring& price,
                                     const std::wstring& quantity) {
        const size_t before = client->journal().size();
        setText(form.code, L"600000");
        setText(form.price, price);
        setText(form.quantity, quantity);
        press(form.order);
        return client->waitForAfter(before, [](const JournalEvent& e) {
            return e.event == "order_refused" || (e.event == "popup_shown" && e.text("title") == L"交易确认");
        });
    }

    std::unique_ptr<SimClientProcess> client;
    HWND toolbar = nullptr;
    HWND frame = nullptr;
};

TEST_P(SimClientWindowTest, HasTheWindowShapeTheProgramReliesOn) {
    EXPECT_EQ(windowTextOf(client->mainWindow()), L"模拟证券-测试");
    EXPECT_EQ(GetParent(frame), client->mainWindow());
    EXPECT_TRUE(findDescendants(frame, L"#32770").empty()) << "panels are created on first open";

    HWND buy = openPage(kBuyX, L"buy");
    HWND sell = openPage(kSellX, L"sell");
    HWND positions = openPage(kPositionsX, L"positions");
    HWND orders = openPage(kOrdersX, L"orders");
    ASSERT_TRUE(buy && sell && positions && orders);
    const auto dialogs = findDescendants(frame, L"#32770");
    EXPECT_EQ(dialogs.size(), 4u);
    for (HWND d : dialogs) {
        EXPECT_EQ(GetParent(d), frame);
        EXPECT_EQ(windowTextOf(d), L"");
        EXPECT_EQ(IsWindowVisible(d) != FALSE, d == orders) << "only the current page is shown";
    }

    const auto buyButtons = findDescendants(buy, L"Button");
    ASSERT_GE(buyButtons.size(), 2u);
    EXPECT_EQ(windowTextOf(buyButtons[0]), L"买入下单");
    EXPECT_GE(findDescendants(buy, L"Edit").size(), 4u);
    EXPECT_GE(findDescendants(buy, L"Static").size(), 10u);
    const auto sellButtons = findDescendants(sell, L"Button");
    ASSERT_GE(sellButtons.size(), 2u);
    EXPECT_EQ(windowTextOf(sellButtons[0]), L"卖出下单");
    EXPECT_GE(findDescendants(sell, L"Edit").size(), 4u);
    EXPECT_GE(findDescendants(sell, L"Static").size(), 8u);
    EXPECT_EQ(windowTextOf(findDescendants(orders, L"Button").at(0)), L"撤单");

    HWND positionsList = findDescendant(positions, L"SysListView32");
    ASSERT_NE(positionsList, nullptr);
    EXPECT_EQ(sendTo(positionsList, LVM_GETITEMCOUNT, 0, 0), 3) << "the default portfolio";
    EXPECT_NE(findDescendant(orders, L"SysListView32"), nullptr);

    // Writing a code makes the client fill in the price, name and maximum sellable.
    const Form form = formOf(sell);
    ASSERT_TRUE(form.code);
    openPage(kSellX, L"sell");
    setText(form.code, L"600000");
    EXPECT_EQ(waitForText(form.price), L"8.88");
    const auto statics = findDescendants(sell, L"Static");
    EXPECT_EQ(windowTextOf(statics[7]), L"10000");
    EXPECT_TRUE(client->waitFor([](const JournalEvent& e) {
        return e.event == "field_written" && e.text("panel") == L"sell" && e.text("field") == L"code" &&
               e.text("text") == L"600000";
    }));
}

TEST_P(SimClientWindowTest, SellIsConfirmedPlacedAndCancelled) {
    HWND sellPanel = openPage(kSellX, L"sell");
    ASSERT_NE(sellPanel, nullptr);
    const Form form = formOf(sellPanel);
    ASSERT_TRUE(form.order);

    const auto confirm = sell(form, L"9.000000", L"300");
    ASSERT_TRUE(confirm);
    ASSERT_EQ(confirm->event, "popup_shown");
    ASSERT_TRUE(answerPopup(L"交易确认", L"确认"));
    const auto accepted = client->waitFor("order_accepted");
    ASSERT_TRUE(accepted);
    EXPECT_EQ(accepted->text("side"), L"sell");
    EXPECT_EQ(accepted->text("code"), L"600000");
    EXPECT_EQ(accepted->number("price"), 9.0);
    EXPECT_EQ(accepted->number("quantity"), 300);
    const auto submitted = client->waitFor("order_submitted");
    ASSERT_TRUE(submitted);
    EXPECT_EQ(submitted->text("price"), L"9.000000") << "the price text as received";
    EXPECT_EQ(submitted->text("quantity"), L"300");
    ASSERT_TRUE(answerPopup(L"提示", L"确认")) << "the 委托已提交 notice";

    // The pending sell froze 300 of the 10000 shares.
    const auto aboveSellable = sell(form, L"8.88", L"9701");
    ASSERT_TRUE(aboveSellable);
    EXPECT_EQ(aboveSellable->text("reason"), L"above_sellable");
    ASSERT_TRUE(answerPopup(L"提示", L"确认"));

    HWND ordersPanel = openPage(kOrdersX, L"orders");
    ASSERT_NE(ordersPanel, nullptr);
    HWND list = findDescendant(ordersPanel, L"SysListView32");
    ASSERT_EQ(sendTo(list, LVM_GETITEMCOUNT, 0, 0), 1);
    RECT header = {};
    GetWindowRect(reinterpret_cast<HWND>(sendTo(list, LVM_GETHEADER, 0, 0)), &header);
    postClick(list, 10, static_cast<int>(header.bottom - header.top) + 6);
    ASSERT_TRUE(client->waitFor([](const JournalEvent& e) {
        return e.event == "row_selected" && e.text("list") == L"orders" && e.number("row") == 0;
    }));
    postClick(findDescendants(ordersPanel, L"Button").at(0), 20, 20);
    ASSERT_TRUE(answerPopup(L"提示", L"确认")) << "确认撤单?";
    const auto cancelled = client->waitFor("order_cancelled");
    ASSERT_TRUE(cancelled);
    EXPECT_EQ(cancelled->number("id"), accepted->number("id"));
    EXPECT_EQ(sendTo(list, LVM_GETITEMCOUNT, 0, 0), 0);
    ASSERT_TRUE(answerPopup(L"提示", L"确认")) << "the 撤单已提交 notice";
}

TEST_P(SimClientWindowTest, RefusesOrdersTheExchangeWouldRefuse) {
    HWND sellPanel = openPage(kSellX, L"sell");
    ASSERT_NE(sellPanel, nullptr);
    const Form form = formOf(sellPanel);
    struct Case {
        const wchar_t* price;
        const wchar_t* quantity;
        const wchar_t* reason;
    };
    // 600000 closed at 8.80 the day before: the limits are 7.92 and 9.68.
    for (const Case& c : {Case{L"100.010002", L"100", L"off_tick"}, Case{L"8.885", L"100", L"off_tick"},
                          Case{L"9.69", L"100", L"outside_limit"}, Case{L"7.91", L"100", L"outside_limit"},
                          Case{L"8.88", L"10001", L"above_sellable"}, Case{L"8.88", L"", L"empty_field"}}) {
        const auto result = sell(form, c.price, c.quantity);
        ASSERT_TRUE(result) << c.reason;
        EXPECT_EQ(result->event, "order_refused");
        EXPECT_EQ(result->text("reason"), c.reason);
        EXPECT_EQ(result->text("price"), c.price);
        ASSERT_TRUE(answerPopup(L"提示", L"确认")) << c.reason;
    }
    EXPECT_FALSE(client->waitFor("order_accepted", 0));
}

TEST_P(SimClientWindowTest, LiveCommandsDriveTheMarketAndTheWindows) {
    HWND positions = openPage(kPositionsX, L"positions");
    ASSERT_NE(positions, nullptr);
    HWND list = findDescendant(positions, L"SysListView32");
    std::wstring reply;
    EXPECT_FALSE(client->send(L"price 600000 abc", &reply));
    EXPECT_FALSE(client->send(L"no-such-command"));
    EXPECT_TRUE(client->send(L"position 300750 宁德时代 200 200 180.5 190.2"));
    EXPECT_EQ(sendTo(list, LVM_GETITEMCOUNT, 0, 0), 4);
    EXPECT_TRUE(client->send(L"logout"));
    EXPECT_EQ(sendTo(list, LVM_GETITEMCOUNT, 0, 0), 0) << "logged out: empty lists";
    EXPECT_TRUE(client->send(L"login"));
    EXPECT_EQ(sendTo(list, LVM_GETITEMCOUNT, 0, 0), 4);

    ASSERT_TRUE(client->send(L"popup 提示 \"系统 通知\""));
    const auto shown = client->waitFor("popup_shown");
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->text("text"), L"系统 通知");
    ASSERT_TRUE(answerPopup(L"提示", L"确认"));

    ASSERT_TRUE(client->send(L"destroy-panels"));
    EXPECT_FALSE(IsWindow(positions)) << "handles taken before are stale";
    EXPECT_NE(openPage(kPositionsX, L"positions"), nullptr) << "the next click creates the page again";

    EXPECT_TRUE(client->stop());
    EXPECT_TRUE(client->waitFor("stopped", 0));
}

class SimClientVariantTest : public SimClientWindowTest {
protected:
    void SetUp() override {}
};

TEST_P(SimClientVariantTest, FormAndListVariantsChangeWhatDiscoveryCounts) {
    start({L"--variant", L"buy-3-edits", L"--variant", L"buy-1-button", L"--variant", L"buy-9-statics",
           L"--variant", L"sell-7-statics", L"--variant", L"positions-extra-column", L"--variant",
           L"no-orders-page", L"--price-delay", L"never"});
    if (IsSkipped() || HasFatalFailure()) return;
    HWND buy = openPage(kBuyX, L"buy");
    HWND sell = openPage(kSellX, L"sell");
    HWND positions = openPage(kPositionsX, L"positions");
    ASSERT_TRUE(buy && sell && positions);
    EXPECT_EQ(findDescendants(buy, L"Edit").size(), 3u);
    EXPECT_EQ(findDescendants(buy, L"Button").size(), 1u);
    EXPECT_EQ(findDescendants(buy, L"Static").size(), 9u);
    EXPECT_EQ(findDescendants(sell, L"Static").size(), 7u);
    EXPECT_GE(findDescendants(sell, L"Button").size(), 2u);
    HWND list = findDescendant(positions, L"SysListView32");
    HWND header = reinterpret_cast<HWND>(sendTo(list, LVM_GETHEADER, 0, 0));
    EXPECT_EQ(sendTo(header, HDM_GETITEMCOUNT, 0, 0), 12) << "eleven default columns and 冻结数量";

    const size_t before = client->journal().size();
    postClick(toolbar, kOrdersX, kToolbarY);
    postClick(toolbar, kBuyX, kToolbarY);
    ASSERT_TRUE(client->waitForAfter(before, [](const JournalEvent& e) { return e.event == "page_opened"; }));
    EXPECT_EQ(findDescendants(frame, L"#32770").size(), 3u) << "no orders page";

    // With a price delay of never, writing a code leaves the price empty.
    const Form form = formOf(sell);
    openPage(kSellX, L"sell");
    setText(form.code, L"600000");
    ASSERT_TRUE(client->waitFor([](const JournalEvent& e) { return e.event == "field_written"; }));
    EXPECT_EQ(waitForText(form.price, 300), L"");
}

TEST_P(SimClientVariantTest, ToolbarVariantsMoveOrHideTheToolbar) {
    if (!SimClientProcess::available(GetParam())) GTEST_SKIP();
    SimClientProcess atTop({L"--variant", L"toolbar-at-top", L"--toolbar-offset", L"225"}, GetParam());
    ASSERT_TRUE(atTop.started());
    HWND bar = findDescendant(atTop.mainWindow(), L"MHPToolBar", L"MainViewBar");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetParent(bar), atTop.mainWindow());
    EXPECT_EQ(GetParent(GetParent(bar)), nullptr);
    postClick(bar, 10, kToolbarY);  // left of the shifted buttons
    postClick(bar, 225 + kSellX, kToolbarY);
    const auto opened = atTop.waitFor("page_opened");
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->text("page"), L"sell") << "buttons shifted by the offset";

    SimClientProcess hidden({L"--variant", L"no-toolbar"}, GetParam());
    ASSERT_TRUE(hidden.started());
    EXPECT_EQ(findDescendant(hidden.mainWindow(), L"MHPToolBar"), nullptr);
}

// The grid family as another program reads it: pages through the tree, content only by copying.
TEST_P(SimClientVariantTest, GridFamilyGivesItsRowsOnlyToCopiesWithCtrlAndAsksForTheCaptcha) {
    if (!SimClientProcess::available(GetParam())) GTEST_SKIP();
    client = std::make_unique<SimClientProcess>(
        std::vector<std::wstring>{L"--family", L"grid", L"--title", L"网上股票交易系统5.0",
                                  L"--captcha-first", L"2", L"--captcha-every", L"0", L"--variant",
                                  L"typed-edits"},
        GetParam());
    ASSERT_TRUE(client->started()) << narrow(client->error());
    HWND main = client->mainWindow();
    HWND tree = findDescendant(main, L"SysTreeView32");
    ASSERT_NE(tree, nullptr);
    auto next = [&](HTREEITEM item, WPARAM how) {
        return reinterpret_cast<HTREEITEM>(
            sendTo(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
    };
    HTREEITEM query = next(next(next(next(nullptr, TVGN_ROOT), TVGN_NEXT), TVGN_NEXT), TVGN_NEXT);
    HTREEITEM positionsItem = next(query, TVGN_CHILD);
    auto show = [&](HTREEITEM item, UINT key, const wchar_t* page) -> HWND {
        const size_t before = client->journal().size();
        if (item) sendTo(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        if (key) PostMessageW(main, WM_KEYDOWN, key, 0);
        if (!client->waitForAfter(before, [&](const JournalEvent& e) {
                return e.event == "page_opened" && e.text("page") == page;
            }))
            return nullptr;
        for (HWND dialog : findDescendants(main, L"#32770"))
            if (IsWindowVisible(dialog)) return dialog;
        return nullptr;
    };
    auto event = [&](const char* name, const char* field, double value) {
        return client->waitFor(
            [&](const JournalEvent& e) { return e.event == name && e.number(field) == value; });
    };
    HWND positions = show(positionsItem, 0, L"positions");
    ASSERT_NE(positions, nullptr);
    HWND grid = GetDlgItem(positions, simclient::kGridControl);
    ASSERT_EQ(windowTextOf(grid), L"");
    EXPECT_EQ(sendTo(grid, LVM_GETITEMCOUNT, 0, 0), 0) << "no list-view messages";

    ASSERT_TRUE(setClipboardText(L"before"));
    PostMessageW(grid, WM_KEYDOWN, 'C', 1);
    ASSERT_TRUE(client->waitFor([](const JournalEvent& e) { return e.text("reason") == L"no_ctrl"; }));
    EXPECT_EQ(clipboardText(), L"before") << "a 'C' without Ctrl copies nothing";
    ASSERT_TRUE(
        postKeysWithCtrl(grid, {'A', 'C'}, [&] { return event("grid_copied", "copy", 1).has_value(); }));
    const std::wstring copied = clipboardText();
    EXPECT_EQ(copied.substr(0, copied.find(L"\r\n")),
              L"证券代码\t证券名称\t股票余额\t可用余额\t冻结数量\t成本价\t市价\t盈亏\t盈亏比例(%)\t市值");
    EXPECT_NE(
        copied.find(L"\r\n600000\t浦发银行\t10000\t10000\t0\t8.500\t8.880\t3800.00\t4.47\t88800.00\r\n"),
        std::wstring::npos);

    // The second copy asks for the code; a wrong one brings a new code, the right one the copy.
    ASSERT_TRUE(setClipboardText(L"before"));
    ASSERT_TRUE(postKeysWithCtrl(grid, {'C'}, [&] { return event("captcha_asked", "copy", 2).has_value(); }));
    HWND captcha = waitForTopWindow(client->processId(), L"提示");
    ASSERT_NE(
        findDescendant(captcha, L"Static", L"检测到您正在拷贝数据，为保护您的账号数据安全，请先输入验证码"),
        nullptr);
    setText(GetDlgItem(captcha, simclient::kCaptchaEdit), L"wrong");
    const size_t beforeWrong = client->journal().size();
    press(GetDlgItem(captcha, IDOK));
    const auto asked =
        client->waitForAfter(beforeWrong, [](const JournalEvent& e) { return e.event == "captcha_asked"; });
    ASSERT_TRUE(asked) << "a wrong code brings a new one";
    EXPECT_EQ(clipboardText(), L"before");
    ASSERT_TRUE(client->send(L"captcha " + asked->text("code"))) << "the investor types the code";
    ASSERT_TRUE(event("grid_copied", "copy", 2));
    EXPECT_EQ(clipboardText(), copied);

    // A sell through the form ends with a 提示 holding its 合同编号 and a row in 当日委托.
    HWND sell = show(nullptr, VK_F2, L"sell");
    ASSERT_NE(sell, nullptr);
    auto type = [&](int id, const std::wstring& text) {
        for (wchar_t c : text) PostMessageW(GetDlgItem(sell, id), WM_CHAR, c, 1);
        return client->waitFor(
            [&](const JournalEvent& e) { return e.event == "field_written" && e.text("text") == text; });
    };
    setText(GetDlgItem(sell, simclient::kGridCodeEdit), L"600000");
    ASSERT_TRUE(client->waitFor("text_ignored")) << "typed-edits: only typed characters count";
    ASSERT_TRUE(type(simclient::kGridCodeEdit, L"600000"));
    EXPECT_EQ(waitForText(GetDlgItem(sell, simclient::kGridPriceEdit)), L"8.88");
    ASSERT_TRUE(type(simclient::kGridQuantityEdit, L"300"));
    press(GetDlgItem(sell, simclient::kGridOrderButton));
    ASSERT_TRUE(answerPopup(L"委托确认", L"是(Y)"));
    const auto accepted = client->waitFor("order_accepted");
    ASSERT_TRUE(accepted);
    const std::wstring id = std::to_wstring(static_cast<int>(accepted->number("id")));
    const auto notice = client->waitFor(
        [](const JournalEvent& e) { return e.event == "popup_shown" && e.text("title") == L"提示"; });
    ASSERT_TRUE(notice);
    EXPECT_NE(notice->text("text").find(L"合同编号：" + id), std::wstring::npos);
    ASSERT_TRUE(answerPopup(L"提示", L"确定"));
    HWND orders = show(next(positionsItem, TVGN_NEXT), 0, L"orders");
    ASSERT_NE(orders, nullptr);
    sendTo(GetDlgItem(orders, simclient::kGridControl), WM_COMMAND, simclient::kGridCopyCommand, 0);
    ASSERT_TRUE(event("grid_copied", "copy", 3)) << "the menu's 复制 needs no Ctrl";
    EXPECT_NE(clipboardText().find(L"\t600000\t浦发银行\t卖出\t300\t0\t8.88\t" + id + L"\t未成交\r\n"),
              std::wstring::npos);

    // 撤单: a click selects the order's row; once cancelled, a fresh copy shows no open order.
    HWND cancel = show(nullptr, VK_F3, L"cancel");
    ASSERT_NE(cancel, nullptr);
    HWND cancelGrid = GetDlgItem(cancel, simclient::kGridControl);
    postClick(cancelGrid, 10, 35);
    ASSERT_TRUE(client->waitFor([](const JournalEvent& e) { return e.event == "row_selected"; }));
    press(GetDlgItem(cancel, simclient::kGridCancelButton));
    ASSERT_TRUE(answerPopup(L"撤单确认", L"是(Y)"));
    ASSERT_TRUE(event("order_cancelled", "id", accepted->number("id")));
    sendTo(cancelGrid, WM_COMMAND, simclient::kGridCopyCommand, 0);
    ASSERT_TRUE(event("grid_copied", "copy", 4));
    EXPECT_EQ(clipboardText().find(L"600000"), std::wstring::npos);
}

// Named by width, so that each width can be run (or left out) on its own.
std::string widthName(const ::testing::TestParamInfo<SimClientProcess::Bits>& info) {
    return info.param == SimClientProcess::Bits::Client32 ? "Client32" : "Client64";
}
const auto kBothWidths =
    ::testing::Values(SimClientProcess::Bits::Client64, SimClientProcess::Bits::Client32);
INSTANTIATE_TEST_SUITE_P(BothWidths, SimClientWindowTest, kBothWidths, widthName);
INSTANTIATE_TEST_SUITE_P(BothWidths, SimClientVariantTest, kBothWidths, widthName);

}  // namespace
}  // namespace halyard::testing

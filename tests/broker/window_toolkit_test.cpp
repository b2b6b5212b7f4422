// The window toolkit against windows of this process: walks, texts, presses and the sweep.
#include "broker/window_toolkit.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <thread>

#include "broker/result_codes.h"
#include "broker/zszq_order_executor.h"

namespace {

// Counts the left-button releases each window receives.
std::map<HWND, int>& releases() {
    static std::map<HWND, int> counts;
    return counts;
}

WNDPROC originalButtonProc = nullptr;
WNDPROC originalStaticProc = nullptr;

LRESULT CALLBACK countingButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONUP) ++releases()[window];
    return CallWindowProcW(originalButtonProc, window, message, wParam, lParam);
}

LRESULT CALLBACK countingStaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONUP) ++releases()[window];
    return CallWindowProcW(originalStaticProc, window, message, wParam, lParam);
}

class Window {
public:
    Window(const wchar_t* className, const wchar_t* text, HWND parent = nullptr, DWORD style = 0) {
        const DWORD kind = parent ? WS_CHILD : WS_OVERLAPPED;
        window_ = CreateWindowExW(0, className, text, kind | style, 0, 0, 120, 40, parent, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    }
    ~Window() {
        if (IsWindow(window_)) DestroyWindow(window_);
    }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    HWND get() const { return window_; }
    void destroy() { DestroyWindow(window_); }
    // Counts the releases it receives from now on.
    void count() {
        wchar_t name[32] = {};
        GetClassNameW(window_, name, 32);
        const bool isButton = std::wstring(name) == L"Button";
        WNDPROC& original = isButton ? originalButtonProc : originalStaticProc;
        WNDPROC previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
            window_, GWLP_WNDPROC,
            reinterpret_cast<LONG_PTR>(isButton ? countingButtonProc : countingStaticProc)));
        if (!original) original = previous;
    }

private:
    HWND window_;
};

void raiseToTop(HWND window) {
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Handles the messages the other threads send to this thread's windows for a while.
void pumpFor(std::chrono::milliseconds span) {
    const auto end = std::chrono::steady_clock::now() + span;
    while (std::chrono::steady_clock::now() < end) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        Sleep(10);
    }
}

TEST(WindowToolkit, FindsTopWindowsByPartOfTheirTitleHiddenOnesToo) {
    Window hidden(L"Static", L"哈利亚德 测试窗口 7F3A 甲");
    ASSERT_TRUE(hidden.get());
    EXPECT_EQ(findTopWindowByTitle(L"测试窗口 7F3A"), hidden.get());
    EXPECT_EQ(findTopWindowByTitle(L"测试窗口 7F3B"), nullptr);
    EXPECT_NE(findTopWindowByTitle(L""), nullptr);
}

TEST(WindowToolkit, FindsDescendantsAtEveryDepthByExactClassAndText) {
    Window top(L"Static", L"top");
    Window panel(L"#32770", L"", top.get());
    Window confirm(L"Button", L"确认", panel.get());
    Window confirmWithBlank(L"Button", L"确认 ", panel.get());
    Window label(L"Static", L"确认", top.get());

    std::vector<HWND> buttons = findDescendants(top.get(), L"Button");
    EXPECT_EQ(buttons, (std::vector<HWND>{confirm.get(), confirmWithBlank.get()}));
    EXPECT_EQ(findDescendants(top.get(), L"Button", L"确认"), std::vector<HWND>{confirm.get()});
    EXPECT_EQ(findDescendants(top.get(), L"button"), std::vector<HWND>{});
    EXPECT_EQ(findDescendants(nullptr, L"Button"), std::vector<HWND>{});

    EXPECT_EQ(grandparent(confirm.get()), top.get());
    EXPECT_EQ(grandparent(top.get()), nullptr);
    EXPECT_EQ(grandparent(nullptr), nullptr);
}

TEST(WindowToolkit, VisibleDialogChildIsTheLastVisibleDirectChild) {
    Window top(L"Static", L"top");
    Window first(L"#32770", L"", top.get(), WS_VISIBLE);
    Window hidden(L"#32770", L"", top.get());
    Window second(L"#32770", L"", top.get(), WS_VISIBLE);
    Window nested(L"#32770", L"", second.get(), WS_VISIBLE);
    EXPECT_EQ(visibleDialogChild(top.get()), second.get());
    second.destroy();
    EXPECT_EQ(visibleDialogChild(top.get()), first.get());
    Window onlyNested(L"Static", L"other");
    Window deep(L"#32770", L"", onlyNested.get());
    Window deeper(L"#32770", L"", deep.get(), WS_VISIBLE);
    EXPECT_EQ(visibleDialogChild(onlyNested.get()), nullptr);
}

TEST(WindowToolkit, WindowTextReadsChineseAndLongCaptions) {
    const std::wstring longTitle = std::wstring(700, L'长') + L"尾";
    Window chinese(L"Static", L"模拟证券交易系统");
    Window longOne(L"Static", longTitle.c_str());
    EXPECT_EQ(windowText(chinese.get()), L"模拟证券交易系统");
    EXPECT_EQ(windowText(longOne.get()), longTitle);
    EXPECT_EQ(windowText(nullptr), L"");
}

TEST(WindowToolkit, WindowTextDoesNotWaitForABusyThreadOfThisProcess) {
    HWND other = nullptr;
    HANDLE created = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread owner([&] {
        other = CreateWindowExW(0, L"Static", L"忙碌的线程", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        SetEvent(created);
        WaitForSingleObject(release, INFINITE);  // busy: handles no messages
        DestroyWindow(other);
    });
    WaitForSingleObject(created, INFINITE);
    std::wstring text;
    HANDLE read = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread reader([&] {
        text = windowText(other);
        SetEvent(read);
    });
    const DWORD waited = WaitForSingleObject(read, 10000);
    SetEvent(release);
    reader.join();
    owner.join();
    EXPECT_EQ(waited, WAIT_OBJECT_0);
    EXPECT_EQ(text, L"忙碌的线程");
    for (HANDLE h : {created, release, read}) CloseHandle(h);
}

TEST(WindowToolkit, PressesAndWaitsReportWhetherTheWindowAnswered) {
    Window top(L"Static", L"top");
    Window button(L"Button", L"确认", top.get(), WS_VISIBLE | BS_PUSHBUTTON);
    button.count();
    releases().clear();
    EXPECT_TRUE(pressButton(button.get()));
    EXPECT_EQ(releases()[button.get()], 1);
    EXPECT_TRUE(pressButtonTwice(button.get()));
    EXPECT_EQ(releases()[button.get()], 3);
    EXPECT_EQ(SendMessageW(button.get(), BM_GETSTATE, 0, 0) & BST_PUSHED, 0);

    Window filled(L"Edit", L"600000", top.get());
    Window empty(L"Edit", L"", top.get());
    EXPECT_TRUE(waitForText(filled.get()));
    EXPECT_TRUE(waitForText(empty.get()));
    EXPECT_EQ(getTextByMessage(filled.get()), std::optional<std::wstring>(L"600000"));
    EXPECT_TRUE(setWindowTextOf(empty.get(), L"9.99"));
    EXPECT_EQ(getTextByMessage(empty.get()), std::optional<std::wstring>(L"9.99"));

    empty.destroy();
    button.destroy();
    EXPECT_FALSE(waitForText(empty.get()));
    EXPECT_FALSE(pressButton(button.get()));
    EXPECT_FALSE(setWindowTextOf(nullptr, L"x"));
}

TEST(ConfirmSweep, PressesEveryConfirmChildOfTheFrontPopupOnly) {
    Window behind(L"Static", L"交易确认");
    Window behindConfirm(L"Button", L"确认", behind.get(), WS_VISIBLE);
    Window front(L"Static", L"提示");
    Window frontConfirm(L"Button", L"确认", front.get(), WS_VISIBLE);
    Window frontLabel(L"Static", L"请确认委托", front.get(), WS_VISIBLE);
    Window frontCancel(L"Button", L"取消", front.get(), WS_VISIBLE);
    raiseToTop(behind.get());
    raiseToTop(front.get());
    for (Window* w : {&behindConfirm, &frontConfirm, &frontLabel, &frontCancel}) w->count();
    releases().clear();

    // These pop-ups belong to this process, standing in for the client's, after an own order.
    SweepScope scope;
    scope.watchProcess(GetCurrentProcessId());
    scope.ownPressStarted();
    sweepConfirmDialogs(scope);
    EXPECT_EQ(releases()[frontConfirm.get()], 2);
    EXPECT_EQ(releases()[frontLabel.get()], 2);
    EXPECT_EQ(releases()[frontCancel.get()], 0);
    EXPECT_EQ(releases()[behindConfirm.get()], 0);

    front.destroy();
    sweepConfirmDialogs(scope);
    EXPECT_EQ(releases()[behindConfirm.get()], 2);
}

TEST(ConfirmSweep, TheExecutorsWorkerSweepsUntilTheExecutorIsDestroyed) {
    Window popup(L"Static", L"提示");
    Window confirm(L"Button", L"确认", popup.get(), WS_VISIBLE);
    raiseToTop(popup.get());
    confirm.count();
    releases().clear();

    ZsZqOrderExecutor::instance();
    EXPECT_STREQ(ZsZqOrderExecutor::instance()->lastErrorText(), L"成功");
    EXPECT_EQ(ZsZqOrderExecutor::instance()->isConnected(), 0);
    EXPECT_EQ(ZsZqOrderExecutor::instance()->hasOrdersList(), 0);
    pumpFor(std::chrono::milliseconds(2600));
    EXPECT_EQ(releases()[confirm.get()], 0) << "a pop-up of a program that is not the client is left alone";

    // Between sweeps the worker only waits, so it ends as soon as it is told to.
    popup.destroy();
    pumpFor(std::chrono::milliseconds(500));
    const auto start = std::chrono::steady_clock::now();
    ZsZqOrderExecutor::destroyInstance();
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_LT(waited, std::chrono::milliseconds(4000));

    Window later(L"Static", L"提示");
    Window laterConfirm(L"Button", L"确认", later.get(), WS_VISIBLE);
    raiseToTop(later.get());
    laterConfirm.count();
    pumpFor(std::chrono::milliseconds(2600));
    EXPECT_EQ(releases()[laterConfirm.get()], 0) << "no sweep after the executor is gone";
}

TEST(ResultCodes, EveryCodeHasItsText) {
    EXPECT_STREQ(resultCodeText(1), L"成功");
    EXPECT_STREQ(resultCodeText(0), L"成功");
    EXPECT_STREQ(resultCodeText(-1), L"未知错误");
    EXPECT_STREQ(resultCodeText(-2), L"数据不完整");
    EXPECT_STREQ(resultCodeText(-3), L"券商软件还没运行");
    EXPECT_STREQ(resultCodeText(-4), L"无法识别券商软件的买入、卖出或持仓页面");
    EXPECT_STREQ(resultCodeText(-5), L"找不到券商软件主窗口");
    EXPECT_STREQ(resultCodeText(-6), L"找不到控制工具栏");
    EXPECT_STREQ(resultCodeText(-7), L"找不到买入窗口");
    EXPECT_STREQ(resultCodeText(-8), L"找不到卖出窗口");
    EXPECT_STREQ(resultCodeText(-9), L"找不到持仓窗口");
    EXPECT_STREQ(resultCodeText(-10), L"找不到撤单窗口");
    EXPECT_STREQ(resultCodeText(-11), L"工具栏父窗口无法找到");
    EXPECT_STREQ(resultCodeText(-12), L"找不到买入代码框");
    EXPECT_STREQ(resultCodeText(-13), L"找不到卖出代码框");
    EXPECT_STREQ(resultCodeText(-14), L"找不到买入下单按钮");
    EXPECT_STREQ(resultCodeText(-15), L"找不到卖出下单按钮");
    EXPECT_STREQ(resultCodeText(-16), L"找不到最大可买");
    EXPECT_STREQ(resultCodeText(-17), L"找不到最大可卖");
    EXPECT_STREQ(resultCodeText(-18), L"券商软件的下单窗口已关闭或重建");
    EXPECT_STREQ(resultCodeText(-19), L"券商软件没有响应");
    EXPECT_STREQ(resultCodeText(-20), L"下单按钮没有按下");
    EXPECT_STREQ(resultCodeText(-21), L"券商软件以管理员身份运行, 请以管理员身份运行Halyard");
    EXPECT_STREQ(resultCodeText(-22), L"撤单按钮没有按下");
    EXPECT_STREQ(resultCodeText(-23), L"64位的券商软件请使用64位的Halyard");
    EXPECT_STREQ(resultCodeText(-24), L"撤单未确认");
    EXPECT_STREQ(resultCodeText(-25), L"券商软件改写了委托价格, 没有下单");
    EXPECT_STREQ(resultCodeText(-26), L"券商拒绝了委托");
    EXPECT_STREQ(resultCodeText(-27), L"券商软件要求输入验证码, 请在券商软件中输入后再试");
    EXPECT_STREQ(resultCodeText(-28), L"未知错误");
}

}  // namespace

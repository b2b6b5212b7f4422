#include "simclient/client_app.h"

#include <commctrl.h>

#include <algorithm>

#include "common/c_format.h"
#include "common/file_store.h"
#include "simclient/column_cells.h"
#include "simclient/command_text.h"
#include "simclient/list_page.h"
#include "simclient/live_control.h"
#include "simclient/market_commands.h"
#include "simclient/order_check.h"
#include "simclient/order_form.h"

namespace halyard::simclient {
namespace {

constexpr wchar_t kFrameClass[] = L"HalyardSimFrame";
constexpr wchar_t kHostClass[] = L"HalyardSimHost";
constexpr wchar_t kToolbarClass[] = L"MHPToolBar";
constexpr wchar_t kPlainToolbarClass[] = L"HalyardSimToolBar";
constexpr UINT kHangMessage = WM_APP + 10;
constexpr UINT_PTR kScenarioTimer = 1;
constexpr int kStatusHeight = 24, kPanelGap = 4;
constexpr DWORD kLongestHangMs = 600000;

const wchar_t* sideWord(Side side) {
    return side == Side::Buy ? L"buy" : L"sell";
}

}  // namespace

ClientApp::ClientApp(ClientOptions options) : options_(std::move(options)) {}

ClientApp::~ClientApp() {
    popups_.clear();
    for (auto& page : pages_) page.reset();
}

bool ClientApp::registerClasses() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = mainProcedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
    wc.lpszClassName = kMainWindowClass;
    if (!RegisterClassW(&wc)) return false;
    wc.lpfnWndProc = frameProcedure;
    wc.hIcon = nullptr;
    wc.lpszClassName = kFrameClass;
    if (!RegisterClassW(&wc)) return false;
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = kHostClass;
    if (!RegisterClassW(&wc)) return false;
    return Toolbar::registerClass(kToolbarClass) && Toolbar::registerClass(kPlainToolbarClass);
}

bool ClientApp::createWindows() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    font_.reset(CreateFontW(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Microsoft YaHei"));
    main_ =
        CreateWindowExW(0, kMainWindowClass, options_.title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                        CW_USEDEFAULT, CW_USEDEFAULT, 960, 640, nullptr, nullptr, instance, this);
    if (!main_) return false;
    frame_ = CreateWindowExW(WS_EX_CONTROLPARENT, kFrameClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                             0, 0, 100, 100, main_, nullptr, instance, this);
    if (!frame_) return false;
    const Toolbar::Layout layout{options_.toolbarOffset, options_.buttonWidth,
                                 options_.buttonPitch > 0 ? options_.buttonPitch : options_.buttonWidth};
    toolbar_ = std::make_unique<Toolbar>(layout, font(), [this](int index) { toolbarClicked(index); });
    const wchar_t* toolbarClass = options_.hasVariant(L"no-toolbar") ? kPlainToolbarClass : kToolbarClass;
    if (options_.hasVariant(L"toolbar-at-top")) {
        if (!toolbar_->create(main_, toolbarClass, L"MainViewBar")) return false;
    } else {
        host_ = CreateWindowExW(0, kHostClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 100,
                                Toolbar::kHeight, frame_, nullptr, instance, nullptr);
        if (!host_ || !toolbar_->create(host_, toolbarClass, L"MainViewBar")) return false;
    }
    status_ = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_CENTERIMAGE,
                              0, 0, 100, kStatusHeight, main_, nullptr, instance, nullptr);
    if (status_) SendMessageW(status_, WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
    layOutMain();
    return true;
}

void ClientApp::layOutMain() {
    if (!main_ || !frame_) return;
    RECT client;
    GetClientRect(main_, &client);
    const int width = client.right, height = client.bottom;
    int top = 0;
    if (!host_ && toolbar_ && toolbar_->window()) {
        MoveWindow(toolbar_->window(), 0, 0, width, Toolbar::kHeight, TRUE);
        top = Toolbar::kHeight;
    }
    MoveWindow(frame_, 0, top, width, std::max(0, height - top - kStatusHeight), TRUE);
    if (status_) MoveWindow(status_, 8, height - kStatusHeight, std::max(0, width - 16), kStatusHeight, TRUE);
    layOutFrame();
}

RECT ClientApp::panelArea() const {
    RECT client{0, 0, 0, 0};
    if (frame_) GetClientRect(frame_, &client);
    const int top = host_ ? Toolbar::kHeight + kPanelGap : kPanelGap;
    return RECT{0, top, client.right, std::max<LONG>(top, client.bottom)};
}

void ClientApp::layOutFrame() {
    RECT client;
    GetClientRect(frame_, &client);
    if (host_) {
        MoveWindow(host_, 0, 0, client.right, Toolbar::kHeight, TRUE);
        if (toolbar_->window()) MoveWindow(toolbar_->window(), 0, 0, client.right, Toolbar::kHeight, TRUE);
    }
    const RECT area = panelArea();
    for (auto& page : pages_)
        if (page && page->panel())
            MoveWindow(page->panel(), area.left, area.top, area.right - area.left, area.bottom - area.top,
                       TRUE);
}

int ClientApp::run() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    if (!options_.journalPath.empty()) journal_.open(options_.journalPath);
    if (!registerClasses() || !createWindows()) return 1;
    startScenario();
    updateStatus();
    ShowWindow(main_, SW_SHOWNORMAL);
    UpdateWindow(main_);
    journal(JournalLine("started").text("title", options_.title).number("pid", GetCurrentProcessId()));
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (dialogMessage(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    journal(JournalLine("stopped"));
    return 0;
}

bool ClientApp::dialogMessage(MSG& message) {
    // Keyboard navigation only; mouse messages posted by other programs go straight through.
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
    for (const auto& popup : popups_) {
        HWND w = popup->window();
        if (w && (message.hwnd == w || IsChild(w, message.hwnd)) && IsDialogMessageW(w, &message))
            return true;
    }
    if (current_) {
        const auto& page = pages_[static_cast<size_t>(*current_)];
        HWND w = page ? page->panel() : nullptr;
        if (w && IsChild(w, message.hwnd) && IsDialogMessageW(w, &message)) return true;
    }
    return false;
}

LRESULT CALLBACK ClientApp::mainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<ClientApp*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->main_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<ClientApp*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->handleMain(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK ClientApp::frameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<ClientApp*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_SIZE && self->frame_ == window) self->layOutFrame();
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT ClientApp::handleMain(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            layOutMain();
            return 0;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize = POINT{640, 420};
            return 0;
        }
        case WM_COPYDATA: {
            std::wstring command;
            if (!commandFromCopyData(lParam, command)) return 0;
            const CommandReply reply = runCommand(command);
            sendReply(reinterpret_cast<HWND>(wParam), reply.text);
            return reply.ok ? 1 : 2;
        }
        case WM_TIMER:
            if (wParam == kScenarioTimer) {
                KillTimer(main_, kScenarioTimer);
                runDueSteps();
            }
            return 0;
        case kHangMessage:
            Sleep(static_cast<DWORD>(wParam));
            journal(JournalLine("hang_ended"));
            return 0;
        case WM_CLOSE:
            DestroyWindow(main_);
            return 0;
        case WM_DESTROY:
            popups_.clear();
            for (auto& page : pages_) page.reset();
            PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(main_, GWLP_USERDATA, 0);
            main_ = nullptr;
            frame_ = nullptr;
            host_ = nullptr;
            status_ = nullptr;
            return DefWindowProcW(main_, message, wParam, lParam);
        default:
            return DefWindowProcW(main_, message, wParam, lParam);
    }
}

bool ClientApp::pageAvailable(Page page) const {
    switch (page) {
        case Page::Buy:
            return !options_.hasVariant(L"no-buy-page");
        case Page::Sell:
            return !options_.hasVariant(L"no-sell-page");
        case Page::Orders:
            return !options_.hasVariant(L"no-orders-page");
        default:
            return true;
    }
}

void ClientApp::toolbarClicked(int index) {
    if (index < kPageCount) {
        openPage(static_cast<Page>(index));
    } else {
        refreshPages();
    }
}

void ClientApp::openPage(Page page) {
    if (!pageAvailable(page) || !frame_) return;
    auto& slot = pages_[static_cast<size_t>(page)];
    if (!slot) {
        const RECT area = panelArea();
        if (page == Page::Buy || page == Page::Sell) {
            auto form = std::make_unique<OrderForm>(*this, page == Page::Buy ? Side::Buy : Side::Sell);
            if (!form->create(frame_, area)) return;
            slot = std::move(form);
        } else {
            const ListKind kind = page == Page::Orders      ? ListKind::Orders
                                  : page == Page::Positions ? ListKind::Positions
                                                            : ListKind::Trades;
            std::vector<std::wstring> columns =
                page == Page::Orders ? options_.ordersColumns
                : page == Page::Positions
                    ? options_.positionsColumns
                    : std::vector<std::wstring>{L"成交时间", L"证券代码", L"证券名称", L"买卖标志",
                                                L"成交价格", L"成交数量", L"成交金额", L"合同编号"};
            auto list = std::make_unique<ListPage>(*this, kind, std::move(columns));
            if (!list->create(frame_, area)) return;
            slot = std::move(list);
        }
    }
    slot->refresh();
    for (auto& other : pages_)
        if (other && other != slot) ShowWindow(other->panel(), SW_HIDE);
    ShowWindow(slot->panel(), SW_SHOW);
    current_ = page;
    toolbar_->setCurrent(static_cast<int>(page));
    journal(JournalLine("page_opened").text("page", widenAscii(pageName(page))));
}

void ClientApp::destroyPanels() {
    for (auto& page : pages_) page.reset();
    current_.reset();
    toolbar_->setCurrent(-1);
}

void ClientApp::refreshPages() {
    for (auto& page : pages_)
        if (page) page->refresh();
    updateStatus();
}

void ClientApp::updateStatus() {
    if (!status_) return;
    std::wstring text;
    if (loggedIn_) {
        text = L"已登录    资金余额 " + wcformat("%.2f", market_.cash()) + L"    可用资金 " +
               wcformat("%.2f", market_.availableCash()) + L"    持仓 " +
               std::to_wstring(market_.positions().size()) + L" 只    未成交委托 " +
               std::to_wstring(market_.pendingOrders().size()) + L" 笔";
    } else {
        text = L"未登录";
    }
    SetWindowTextW(status_, text.c_str());
}

std::wstring ClientApp::now() const {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return wcformat("%02d:%02d:%02d", t.wHour, t.wMinute, t.wSecond);
}

void ClientApp::showPopup(const std::wstring& title, const std::wstring& text,
                          std::vector<std::wstring> buttons, std::function<void(const std::wstring&)> then) {
    auto popup = std::make_unique<Popup>(
        title, text, std::move(buttons), [this, then](Popup& closed, const std::wstring& button) {
            journal(JournalLine("popup_closed").text("title", closed.title()).text("button", button));
            popups_.remove_if([&](const std::unique_ptr<Popup>& p) { return p.get() == &closed; });
            if (then) then(button);
        });
    if (!popup->create(main_, font())) return;
    journal(JournalLine("popup_shown").text("title", title).text("text", text));
    popups_.push_back(std::move(popup));
}

void ClientApp::submitOrder(Side side, const std::wstring& code, const std::wstring& price,
                            const std::wstring& quantity) {
    journal(JournalLine("order_submitted")
                .text("side", sideWord(side))
                .text("code", code)
                .text("price", price)
                .text("quantity", quantity));
    const OrderCheck check = checkOrder(market_, loggedIn_, side, code, price, quantity);
    if (!check.accepted) {
        refuse(side, code, price, quantity, check);
        return;
    }
    const Stock* stock = market_.stock(check.code);
    const std::wstring text = std::wstring(L"操作: ") + sideText(side) + L"\n证券: " + check.code + L" " +
                              (stock ? stock->name : L"") + L"\n价格: " + wcformat("%.2f", check.price) +
                              L"    数量: " + wcformat("%lld", static_cast<long long>(check.quantity)) +
                              L" 股\n\n是否提交该委托?";
    showPopup(L"交易确认", text, {L"确认", L"取消"},
              [this, side, code, price, quantity](const std::wstring& button) {
                  if (button == L"确认") placeConfirmed(side, code, price, quantity);
              });
}

void ClientApp::refuse(Side side, const std::wstring& code, const std::wstring& price,
                       const std::wstring& quantity, const OrderCheck& check) {
    journal(JournalLine("order_refused")
                .text("side", sideWord(side))
                .text("code", code)
                .text("price", price)
                .text("quantity", quantity)
                .text("reason", widenAscii(check.reason)));
    notice(check.message);
}

void ClientApp::placeConfirmed(Side side, const std::wstring& code, const std::wstring& price,
                               const std::wstring& quantity) {
    // The market may have moved while the confirmation was open.
    const OrderCheck check = checkOrder(market_, loggedIn_, side, code, price, quantity);
    if (!check.accepted) {
        refuse(side, code, price, quantity, check);
        return;
    }
    const int id = market_.place(side, check.code, check.price, check.quantity, now());
    journal(JournalLine("order_accepted")
                .number("id", id)
                .text("side", sideWord(side))
                .text("code", check.code)
                .decimal("price", check.price)
                .number("quantity", check.quantity));
    refreshPages();
    notice(L"委托已提交\n合同编号: " + std::to_wstring(id));
}

void ClientApp::requestCancel(std::optional<int> orderId) {
    const Order* order = orderId ? market_.pendingOrder(*orderId) : nullptr;
    if (!order) {
        notice(L"请先选择要撤销的委托");
        return;
    }
    const Stock* stock = market_.stock(order->code);
    const std::wstring text = L"确认撤单?\n\n" + order->code + L" " + (stock ? stock->name : L"") + L"  " +
                              sideText(order->side) + L" " +
                              wcformat("%lld", static_cast<long long>(order->quantity)) + L" 股  价格 " +
                              wcformat("%.2f", order->price) + L"\n合同编号: " + std::to_wstring(order->id);
    const int id = order->id;
    showPopup(L"提示", text, {L"确认", L"取消"}, [this, id](const std::wstring& button) {
        if (button == L"确认") cancelConfirmed(id);
    });
}

void ClientApp::cancelConfirmed(int orderId) {
    const auto cancelled = market_.cancel(orderId);
    if (!cancelled) {
        notice(L"该委托已成交或已撤销");
        return;
    }
    journalCancelled(*cancelled);
    refreshPages();
    notice(L"撤单已提交");
}

void ClientApp::requestCancelAll() {
    if (market_.pendingOrders().empty()) {
        notice(L"没有可撤销的委托");
        return;
    }
    showPopup(L"提示", L"确认撤销全部未成交委托?", {L"确认", L"取消"}, [this](const std::wstring& button) {
        if (button != L"确认") return;
        std::vector<int> ids;
        for (const auto& o : market_.pendingOrders()) ids.push_back(o.id);
        for (int id : ids)
            if (auto o = market_.cancel(id)) journalCancelled(*o);
        refreshPages();
        notice(L"撤单已提交");
    });
}

void ClientApp::journalTrades(const std::vector<Trade>& trades) {
    for (const auto& t : trades)
        journal(JournalLine("order_filled")
                    .number("id", t.orderId)
                    .text("code", t.code)
                    .decimal("price", t.price)
                    .number("quantity", t.quantity));
}

void ClientApp::journalCancelled(const Order& order) {
    journal(JournalLine("order_cancelled").number("id", order.id).text("code", order.code));
}

void ClientApp::startScenario() {
    if (options_.scenarioPath.empty()) {
        const Scenario defaults = parseScenario(defaultScenarioText());
        for (const auto& step : defaults.steps) runMarketCommand(market_, splitCommand(step.command), now());
        return;
    }
    std::string bytes;
    if (!readWholeFile(options_.scenarioPath, bytes)) {
        journal(JournalLine("scenario_error").text("path", options_.scenarioPath).number("line", 0));
        return;
    }
    scenario_ = parseScenario(bytes);
    for (int line : scenario_.badLines)
        journal(JournalLine("scenario_error").text("path", options_.scenarioPath).number("line", line));
    runDueSteps();
}

void ClientApp::runDueSteps() {
    while (nextStep_ < scenario_.steps.size() && scenario_.steps[nextStep_].atMs <= journal_.elapsedMs()) {
        const ScenarioStep step = scenario_.steps[nextStep_++];
        const CommandReply reply = runCommand(step.command);
        if (!reply.ok)
            journal(JournalLine("scenario_error")
                        .text("path", options_.scenarioPath)
                        .number("line", step.line)
                        .text("reply", reply.text));
    }
    scheduleNextStep();
}

void ClientApp::scheduleNextStep() {
    if (nextStep_ >= scenario_.steps.size() || !main_) return;
    const long long wait = std::max(0LL, scenario_.steps[nextStep_].atMs - journal_.elapsedMs());
    SetTimer(main_, kScenarioTimer, static_cast<UINT>(std::min(wait, 0x7FFFFFFFLL)), nullptr);
}

CommandReply ClientApp::runCommand(const std::wstring& text) {
    journal(JournalLine("command").text("text", text));
    const std::vector<std::wstring> words = splitCommand(text);
    if (words.empty()) return {false, L"empty command"};
    const std::wstring& name = words[0];
    MarketCommandResult market = runMarketCommand(market_, words, now());
    if (market.handled) {
        for (const auto& o : market.cancelled) journalCancelled(o);
        journalTrades(market.trades);
        if (market.ok) refreshPages();
        return {market.ok, market.reply};
    }
    if (name == L"hang") {
        int64_t ms = 0;
        if (words.size() != 2 || !parseWholeInteger(words[1], ms) || ms < 0 || ms > kLongestHangMs)
            return {false, L"usage: hang MS (at most 600000)"};
        // Answer first: the sender must not hang with the client.
        PostMessageW(main_, kHangMessage, static_cast<WPARAM>(ms), 0);
        return {true, L"ok"};
    }
    if (name == L"destroy-panels" && words.size() == 1) {
        destroyPanels();
        return {true, L"ok"};
    }
    if ((name == L"logout" || name == L"login") && words.size() == 1) {
        loggedIn_ = name == L"login";
        refreshPages();
        return {true, L"ok"};
    }
    if (name == L"popup") {
        if (words.size() < 3) return {false, L"usage: popup TITLE TEXT"};
        std::wstring body;
        for (size_t i = 2; i < words.size(); ++i) body += (i > 2 ? L" " : L"") + words[i];
        showPopup(words[1], body, {L"确认"});
        return {true, L"ok"};
    }
    if (name == L"status" && words.size() == 1) {
        std::wstring reply = loggedIn_ ? L"logged_in" : L"logged_out";
        reply += L" page=" + (current_ ? widenAscii(pageName(*current_)) : std::wstring(L"none"));
        reply += L" positions=" + std::to_wstring(market_.positions().size());
        reply += L" orders=" + std::to_wstring(market_.pendingOrders().size());
        reply += L" popups=" + std::to_wstring(popups_.size());
        reply += L" cash=" + wcformat("%.2f", market_.cash());
        return {true, reply};
    }
    if (name == L"quit" && words.size() == 1) {
        PostMessageW(main_, WM_CLOSE, 0, 0);
        return {true, L"ok"};
    }
    return {false, L"unknown command: " + name};
}

}  // namespace halyard::simclient

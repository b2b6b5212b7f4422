#include "simclient/client_app.h"

#include <commctrl.h>

#include <algorithm>

#include "common/c_format.h"
#include "simclient/grid_text.h"
#include "simclient/grid_window.h"
#include "simclient/live_control.h"

namespace halyard::simclient {

ClientApp::ClientApp(ClientOptions options) : options_(std::move(options)) {}

ClientApp::~ClientApp() {
    popups_.clear();
    grid_.reset();
    for (auto& page : pages_) page.reset();
}

int ClientApp::run() {
    INITCOMMONCONTROLSEX controls = {sizeof controls,
                                     ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
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
    if (grid_ && grid_->preTranslate(message)) return true;
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
            } else if (wParam == kResortTimer) {
                resortStep();
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
            grid_.reset();
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

void ClientApp::notice(const std::wstring& text) {
    showPopup(L"提示", text, {deskWords(options_.family).noticeButton});
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
    const Popup* shown = popup.get();
    popups_.push_back(std::move(popup));
    if (!options_.hasVariant(L"modal-popups")) return;
    runModalLoop(
        main_,
        [this, shown] {
            return std::any_of(popups_.begin(), popups_.end(),
                               [shown](const auto& p) { return p.get() == shown; });
        },
        [this](MSG& message) { return dialogMessage(message); });
}

}  // namespace halyard::simclient

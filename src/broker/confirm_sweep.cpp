#include "broker/confirm_sweep.h"

#include <cwchar>
#include <utility>

#include "broker/grid_popups.h"
#include "broker/window_toolkit.h"

namespace {

constexpr DWORD kWorkerFirstPauseMs = 200;
constexpr DWORD kWorkerPauseMs = 2000;
constexpr DWORD kWorkerStopWaitMs = 4000;
constexpr DWORD kWorkerOwnOrderPauseMs = 200;

struct SweepWalk {
    SweepScope* scope;
    DWORD watched;      // taken once per pass
    std::wstring text;  // the pop-up's own texts, buttons left out
};

BOOL CALLBACK readPopupText(HWND child, LPARAM param) {
    auto* walk = reinterpret_cast<SweepWalk*>(param);
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (wcscmp(className, L"Button") == 0) return TRUE;
    std::wstring text = windowText(child);
    for (wchar_t& c : text)
        if (c == L'\r' || c == L'\n') c = L' ';
    if (text.empty()) return TRUE;
    if (!walk->text.empty()) walk->text += L' ';
    walk->text += text;
    return TRUE;
}

BOOL CALLBACK pressConfirmChild(HWND child, LPARAM) {
    if (windowText(child).find(L"确认") != std::wstring::npos) pressButtonTwice(child);
    return TRUE;
}

bool confirmable(SweepScope& scope, DWORD watched, HWND window) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == 0 || owner != watched) return false;
    const std::wstring title = windowText(window);
    // A copy captcha is titled 提示 too; its code is the investor's to type.
    if (title.find(L"提示") != std::wstring::npos) return !isCaptchaWindow(window);
    return title.find(L"交易确认") != std::wstring::npos && scope.isOwnConfirmation(window);
}

BOOL CALLBACK sweepStep(HWND window, LPARAM param) {
    auto* walk = reinterpret_cast<SweepWalk*>(param);
    if (!confirmable(*walk->scope, walk->watched, window)) return TRUE;
    EnumChildWindows(window, readPopupText, param);
    EnumChildWindows(window, pressConfirmChild, 0);
    if (!walk->text.empty()) walk->scope->addNotice(L"券商提示: " + walk->text);
    return FALSE;
}

}  // namespace

void SweepScope::watchClient(HWND main) {
    DWORD owner = 0;
    if (main) GetWindowThreadProcessId(main, &owner);
    window_ = owner ? main : nullptr;
    processId_ = owner;
}

void SweepScope::watchProcess(DWORD processId) {
    window_ = nullptr;
    processId_ = processId;
}

DWORD SweepScope::process() const {
    const HWND main = window_;
    const DWORD watched = processId_;
    if (!main) return watched;
    // A handle that went, or was reused by another program, watches nothing.
    DWORD owner = 0;
    GetWindowThreadProcessId(main, &owner);
    return owner == watched ? watched : 0;
}

void SweepScope::ownPressStarted() {
    ownPressTick_ = GetTickCount();
    ownPressed_ = true;
}

bool SweepScope::ownPressRecent() const {
    return ownPressed_ && static_cast<uint32_t>(GetTickCount() - ownPressTick_) < kOwnPressWindowMs;
}

bool SweepScope::isOwnConfirmation(HWND window) {
    if (window == ownConfirmation_ && ownConfirmationOpen()) return true;
    if (!ownPressRecent()) return false;
    if (!ownConfirmationOpen()) ownConfirmation_ = window;
    return true;
}

bool SweepScope::ownConfirmationOpen() const {
    const HWND window = ownConfirmation_;
    if (!window || !IsWindowVisible(window)) return false;
    // A handle that went, or was reused by another program, holds no order of Halyard's.
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner != 0 && owner == processId_ && windowText(window).find(L"交易确认") != std::wstring::npos;
}

void SweepScope::addNotice(std::wstring text) {
    std::lock_guard<std::mutex> hold(lock_);
    // A pop-up pressed by two sweeps at once is reported once.
    if (!notices_.empty() && notices_.back() == text) return;
    notices_.push_back(std::move(text));
}

std::vector<std::wstring> SweepScope::takeNotices() {
    std::lock_guard<std::mutex> hold(lock_);
    return std::exchange(notices_, {});
}

void sweepConfirmDialogs(SweepScope& scope) {
    const DWORD watched = scope.process();
    if (watched == 0) return;
    SweepWalk walk{&scope, watched, {}};
    EnumWindows(sweepStep, reinterpret_cast<LPARAM>(&walk));
}

struct ConfirmSweepWorker::State {
    explicit State(std::shared_ptr<SweepScope> s) : scope(std::move(s)) {}
    std::shared_ptr<SweepScope> scope;
    halyard::UniqueHandle stop{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

DWORD WINAPI ConfirmSweepWorker::run(LPVOID parameter) {
    // The thread owns a share of its state, so it may outlive the executor safely.
    std::unique_ptr<std::shared_ptr<State>> owned(static_cast<std::shared_ptr<State>*>(parameter));
    HANDLE stop = (*owned)->stop.get();
    SweepScope& scope = *(*owned)->scope;
    while (WaitForSingleObject(stop, kWorkerFirstPauseMs) == WAIT_TIMEOUT) {
        sweepConfirmDialogs(scope);
        // A client whose confirmation is modal holds Halyard's press until it is confirmed.
        const bool ownOrderWaits = scope.ownPressRecent() || scope.ownConfirmationOpen();
        const DWORD pause = ownOrderWaits ? kWorkerOwnOrderPauseMs : kWorkerPauseMs;
        if (WaitForSingleObject(stop, pause) != WAIT_TIMEOUT) break;
    }
    return 0;
}

ConfirmSweepWorker::ConfirmSweepWorker(std::shared_ptr<SweepScope> scope)
    : state(std::make_shared<State>(std::move(scope))) {
    if (!state->stop) return;
    auto* share = new std::shared_ptr<State>(state);
    thread.reset(CreateThread(nullptr, 0, run, share, 0, nullptr));
    if (!thread) delete share;
}

ConfirmSweepWorker::~ConfirmSweepWorker() {
    if (!thread) return;
    SetEvent(state->stop.get());
    WaitForSingleObject(thread.get(), kWorkerStopWaitMs);
}

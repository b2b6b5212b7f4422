#include "support/dialog_driver.h"

#include <cstdio>
#include <cstdlib>

#include "common/control_text.h"
#include "framework/window.h"

namespace halyard {

bool isDialogWindow(HWND window) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    return std::wstring(name) == L"#32770";
}

namespace {

struct Search {
    HWND exclude;
    HWND found;
};

// The first visible, enabled dialog-class window of the thread other than `exclude`: the
// innermost modal window (its owner is disabled while it runs).
BOOL CALLBACK findPopup(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    if (window != search->exclude && IsWindowVisible(window) && IsWindowEnabled(window) &&
        isDialogWindow(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK findShown(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    if (IsWindowVisible(window) && isDialogWindow(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

template <typename Probe>
auto pollFor(DWORD timeoutMs, Probe probe) -> decltype(probe()) {
    DWORD start = GetTickCount();
    while (true) {
        auto value = probe();
        if (value || GetTickCount() - start >= timeoutMs) return value;
        Sleep(10);
    }
}

BOOL CALLBACK firstStaticText(HWND child, LPARAM data) {
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    if (_wcsicmp(name, L"Static") != 0) return TRUE;
    if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) return TRUE;
    std::wstring text = controlText(child);
    if (text.empty()) return TRUE;
    *reinterpret_cast<std::wstring*>(data) = text;
    return FALSE;
}

}  // namespace

constexpr wchar_t kMarkerClass[] = L"Halyard.DialogDriverMarker";
constexpr UINT kMark = WM_APP + 0x3F00;

ModalDialogThread::ModalDialogThread(Dialog& dialog) : dialog_(dialog) {
    thread_ = std::thread([this] {
        threadId_ = GetCurrentThreadId();
        // A window of the dialog's thread: messages posted to it queue behind the clicks.
        WNDCLASSW type{};
        type.lpfnWndProc = markerProc;
        type.hInstance = GetModuleHandleW(nullptr);
        type.lpszClassName = kMarkerClass;
        RegisterClassW(&type);
        HWND marker = CreateWindowExW(0, kMarkerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
        if (marker) SetWindowLongPtrW(marker, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        marker_ = marker;
        result_ = dialog_.doModal();
        marker_ = nullptr;
        if (marker) DestroyWindow(marker);
        finished_ = true;
    });
}

LRESULT CALLBACK ModalDialogThread::markerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kMark) {
        auto* self = reinterpret_cast<ModalDialogThread*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self) self->handledMarks_ = static_cast<unsigned>(wParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool ModalDialogThread::settle(DWORD timeoutMs) {
    HWND marker = marker_.load();
    if (!marker || finished_) return false;
    unsigned mark = ++postedMarks_;
    if (!PostMessageW(marker, kMark, mark, 0)) return false;
    return pollFor(timeoutMs, [&] { return handledMarks_.load() >= mark || finished_.load(); });
}

void ModalDialogThread::command(int id) const {
    if (HWND window = window_.load()) PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

ModalDialogThread::~ModalDialogThread() {
    DWORD start = GetTickCount();
    while (!finished_) {
        if (GetTickCount() - start > 20000) {
            std::fprintf(stderr, "dialog did not close; giving up\n");
            std::abort();
        }
        if (HWND box = currentMessageBox()) {
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            PostMessageW(box, WM_CLOSE, 0, 0);
        } else if (HWND window = window_.load()) {
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            PostMessageW(window, WM_CLOSE, 0, 0);
        } else if (threadId_) {
            Search search{nullptr, nullptr};
            EnumThreadWindows(threadId_, findShown, reinterpret_cast<LPARAM>(&search));
            window_ = search.found;
        }
        Sleep(50);
    }
    if (thread_.joinable()) thread_.join();
}

HWND ModalDialogThread::waitForDialog(DWORD timeoutMs) {
    HWND window = pollFor(timeoutMs, [this]() -> HWND {
        if (finished_ || !threadId_) return nullptr;
        Search search{nullptr, nullptr};
        EnumThreadWindows(threadId_, findShown, reinterpret_cast<LPARAM>(&search));
        return search.found;
    });
    if (window) window_ = window;
    return window;
}

HWND ModalDialogThread::currentMessageBox() const {
    if (finished_ || !threadId_) return nullptr;
    Search search{window_.load(), nullptr};
    EnumThreadWindows(threadId_, findPopup, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring ModalDialogThread::answerMessageBox(int button) {
    HWND box = waitForMessageBox();
    if (!box) return L"(no message box)";
    std::wstring text = messageBoxText(box);
    pressMessageBoxButton(box, button);
    for (int i = 0; i < 500 && IsWindow(box); ++i) Sleep(10);
    return text;
}

HWND ModalDialogThread::waitForMessageBox(DWORD timeoutMs) {
    return pollFor(timeoutMs, [this] { return currentMessageBox(); });
}

bool ModalDialogThread::waitForEnd(DWORD timeoutMs) {
    bool ended = pollFor(timeoutMs, [this] { return finished_.load(); });
    if (ended && thread_.joinable()) thread_.join();
    return ended;
}

void ModalDialogThread::click(int id) const {
    if (HWND button = GetDlgItem(window_.load(), id)) PostMessageW(button, BM_CLICK, 0, 0);
}

void ModalDialogThread::setText(int id, const std::wstring& text) const {
    if (HWND control = GetDlgItem(window_.load(), id))
        SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring ModalDialogThread::text(int id) const {
    return controlText(GetDlgItem(window_.load(), id));
}

bool ModalDialogThread::isChecked(int id) const {
    HWND button = GetDlgItem(window_.load(), id);
    return button && SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool ModalDialogThread::isEnabled(int id) const {
    HWND control = GetDlgItem(window_.load(), id);
    return control && IsWindowEnabled(control);
}

HWND ModalDialogThread::focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!threadId_ || !GetGUIThreadInfo(threadId_, &info)) return nullptr;
    return info.hwndFocus;
}

std::wstring messageBoxText(HWND box) {
    std::wstring text;
    if (box) EnumChildWindows(box, firstStaticText, reinterpret_cast<LPARAM>(&text));
    return text;
}

void pressMessageBoxButton(HWND box, int id) {
    if (box) PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

}  // namespace halyard

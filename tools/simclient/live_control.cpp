#include "simclient/live_control.h"

#include <vector>

namespace halyard::simclient {
namespace {

constexpr wchar_t kReplyClass[] = L"HalyardSimClientReply";

std::wstring titleOf(HWND window) {
    std::vector<wchar_t> buffer(static_cast<size_t>(GetWindowTextLengthW(window)) + 2);
    GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
    return buffer.data();
}

struct InstanceSearch {
    std::wstring title;
    HWND exact = nullptr;
    HWND partial = nullptr;
};

BOOL CALLBACK visitTopWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<InstanceSearch*>(param);
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (std::wstring(className) != kMainWindowClass) return TRUE;
    const std::wstring title = titleOf(window);
    if (title == search->title) {
        search->exact = window;
        return FALSE;
    }
    if (!search->partial && title.find(search->title) != std::wstring::npos) search->partial = window;
    return TRUE;
}

LRESULT CALLBACK replyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        auto* reply = reinterpret_cast<std::wstring*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (reply && data && data->dwData == kReplyData && data->lpData)
            reply->assign(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
        return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool registerReplyClass() {
    static const bool registered = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = replyWindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kReplyClass;
        return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

class ReplyWindow {
public:
    explicit ReplyWindow(std::wstring* reply) {
        if (!registerReplyClass()) return;
        window_ = CreateWindowExW(0, kReplyClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(reply));
    }
    ~ReplyWindow() {
        if (window_) DestroyWindow(window_);
    }
    ReplyWindow(const ReplyWindow&) = delete;
    ReplyWindow& operator=(const ReplyWindow&) = delete;
    HWND get() const { return window_; }

private:
    HWND window_ = nullptr;
};

}  // namespace

HWND findClientInstance(const std::wstring& title) {
    InstanceSearch search;
    search.title = title;
    EnumWindows(visitTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.exact ? search.exact : search.partial;
}

SendResult sendControlCommand(HWND client, const std::wstring& command, std::wstring& reply, UINT timeoutMs) {
    reply.clear();
    ReplyWindow replyWindow(&reply);
    COPYDATASTRUCT data = {};
    data.dwData = kCommandData;
    data.cbData = static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t));
    data.lpData = const_cast<wchar_t*>(command.c_str());
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(client, WM_COPYDATA, reinterpret_cast<WPARAM>(replyWindow.get()),
                             reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, timeoutMs, &result))
        return SendResult::NoAnswer;
    if (!reply.empty() && reply.back() == L'\0') reply.pop_back();
    return result == 1 ? SendResult::Done : result == 2 ? SendResult::Refused : SendResult::NoAnswer;
}

bool commandFromCopyData(LPARAM lParam, std::wstring& command) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (!data || data->dwData != kCommandData || !data->lpData) return false;
    command.assign(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
    while (!command.empty() && command.back() == L'\0') command.pop_back();
    return true;
}

void sendReply(HWND replyWindow, const std::wstring& reply) {
    if (!replyWindow || !IsWindow(replyWindow)) return;
    COPYDATASTRUCT data = {};
    data.dwData = kReplyData;
    data.cbData = static_cast<DWORD>(reply.size() * sizeof(wchar_t));
    data.lpData = const_cast<wchar_t*>(reply.c_str());
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(replyWindow, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 2000,
                        &ignored);
}

}  // namespace halyard::simclient

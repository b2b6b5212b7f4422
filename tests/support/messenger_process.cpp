#include "support/messenger_process.h"

#include <chrono>

#include "common/text_encoding.h"

namespace halyard::testing {
namespace {

std::wstring executable(MessengerProcess::Kind kind) {
    std::wstring path =
        fromUtf8(kind == MessengerProcess::Kind::Fetion ? HALYARD_SIMFETION_EXE : HALYARD_SIMQQ_EXE);
    if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

std::wstring inQuotes(const std::wstring& argument) {
    return L"\"" + argument + L"\"";
}

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    HWND found = nullptr;
};

BOOL CALLBACK findWindowOf(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (pid != search->processId || std::wstring(name) != search->className) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

MessengerProcess::MessengerProcess(Kind kind, std::vector<std::wstring> arguments)
    : kind_(kind), journalPath_(temp_.file(L"messenger.jsonl")) {
    const std::wstring exe = executable(kind);
    std::wstring commandLine = inQuotes(exe) + L" --journal " + inQuotes(journalPath_);
    for (const std::wstring& argument : arguments) commandLine += L" " + inQuotes(argument);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        error_ = L"CreateProcess failed for " + exe;
        return;
    }
    CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    processId_ = info.dwProcessId;
    const wchar_t* className = kind == Kind::Fetion ? L"FxWnd" : L"TXGuiFoundation";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        WindowSearch search{processId_, className};
        EnumWindows(findWindowOf, reinterpret_cast<LPARAM>(&search));
        if (search.found && count("started") > 0) {
            window_ = search.found;
            return;
        }
        if (WaitForSingleObject(process_.get(), 20) == WAIT_OBJECT_0) break;
    }
    error_ = L"the messenger's window did not appear";
}

MessengerProcess::~MessengerProcess() {
    stop();
}

std::vector<JournalEvent> MessengerProcess::sent() const {
    const std::string name = kind_ == Kind::Fetion ? "sms_sent" : "qq_sent";
    std::vector<JournalEvent> messages;
    for (const JournalEvent& event : journal())
        if (event.event == name) messages.push_back(event);
    return messages;
}

size_t MessengerProcess::count(const std::string& event) const {
    size_t found = 0;
    for (const JournalEvent& line : journal()) found += line.event == event ? 1 : 0;
    return found;
}

bool MessengerProcess::waitForSent(size_t wanted, DWORD timeoutMs) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (sent().size() < wanted) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        Sleep(50);
    }
    return true;
}

bool MessengerProcess::stop(DWORD timeoutMs) {
    if (!process_) return true;
    if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
    if (!ended) {
        TerminateProcess(process_.get(), 9);
        WaitForSingleObject(process_.get(), 5000);
    }
    process_.reset();
    window_ = nullptr;
    return ended;
}

}  // namespace halyard::testing

#include "soak/soak_watch.h"

#include <psapi.h>

#include "common/unique_handle.h"

namespace soak {
namespace {

// Long enough to measure a hang instead of cutting it short; the verdict is the checker's.
constexpr UINT kAskTimeoutMs = 30000;
constexpr ULONGLONG kSlowMs = 2000;

struct MainSearch {
    DWORD processId;
    HWND found = nullptr;
};

BOOL CALLBACK findMain(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<MainSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    // The main window is the dialog holding the position list (control 1000).
    if (owner != search->processId || !GetDlgItem(window, 1000)) return TRUE;
    search->found = window;
    return FALSE;
}

HWND mainWindowOf(DWORD processId) {
    MainSearch search{processId};
    EnumWindows(findMain, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct WindowCount {
    DWORD processId;
    long windows = 0;
};

BOOL CALLBACK countChild(HWND, LPARAM data) {
    ++reinterpret_cast<WindowCount*>(data)->windows;
    return TRUE;
}

BOOL CALLBACK countTop(HWND window, LPARAM data) {
    auto* count = reinterpret_cast<WindowCount*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != count->processId) return TRUE;
    ++count->windows;
    EnumChildWindows(window, countChild, data);
    return TRUE;
}

// The process's windows, top-level and children: the USER objects that can be counted from
// outside where the system does not count them itself.
long windowsOf(DWORD processId) {
    WindowCount count{processId};
    EnumWindows(countTop, reinterpret_cast<LPARAM>(&count));
    return count.windows;
}

}  // namespace

MainWindowWatch::MainWindowWatch(DWORD processId, SoakJournal& journal)
    : processId_(processId), journal_(journal), thread_([this] { run(); }) {}

MainWindowWatch::~MainWindowWatch() {
    stop();
}

void MainWindowWatch::stop() {
    if (!thread_.joinable()) return;
    stopping_ = true;
    thread_.join();
    journal_.write("watch_summary", {{"asked", std::to_wstring(asked_)},
                                     {"slow", std::to_wstring(slow_)},
                                     {"longest_ms", std::to_wstring(longestMs_)}});
}

void MainWindowWatch::run() {
    HWND window = nullptr;
    while (!stopping_) {
        const ULONGLONG due = GetTickCount64() + 1000;
        if (!window || !IsWindow(window)) window = mainWindowOf(processId_);
        if (window) {
            const ULONGLONG start = GetTickCount64();
            DWORD_PTR answer = 0;
            const bool answered =
                SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kAskTimeoutMs, &answer) != 0;
            const ULONGLONG waited = GetTickCount64() - start;
            ++asked_;
            if (waited > longestMs_) longestMs_ = waited;
            if (waited >= kSlowMs || !answered) {
                ++slow_;
                journal_.write("slow_answer",
                               {{"ms", std::to_wstring(waited)}, {"answered", answered ? L"yes" : L"no"}});
            }
        } else {
            journal_.write("main_window_missing");
        }
        while (!stopping_ && GetTickCount64() < due) Sleep(50);
    }
}

void journalResources(DWORD processId, const wchar_t* when, SoakJournal& journal) {
    halyard::UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process) {
        journal.write("resources", {{"when", when}, {"error", L"OpenProcess failed"}});
        return;
    }
    DWORD handles = 0;
    const bool counted = GetProcessHandleCount(process.get(), &handles) != 0;
    const DWORD countError = counted ? 0 : GetLastError();
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    const bool measured =
        GetProcessMemoryInfo(process.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory) != 0;
    const DWORD memoryError = measured ? 0 : GetLastError();
    journal.write("resources", {{"when", when},
                                {"handles", std::to_wstring(handles)},
                                {"handles_error", std::to_wstring(countError)},
                                {"gdi", std::to_wstring(GetGuiResources(process.get(), GR_GDIOBJECTS))},
                                {"user", std::to_wstring(GetGuiResources(process.get(), GR_USEROBJECTS))},
                                {"windows", std::to_wstring(windowsOf(processId))},
                                {"private_kb", std::to_wstring(memory.PrivateUsage / 1024)},
                                {"pagefile_kb", std::to_wstring(memory.PagefileUsage / 1024)},
                                {"working_set_kb", std::to_wstring(memory.WorkingSetSize / 1024)},
                                {"memory_error", std::to_wstring(memoryError)}});
}

}  // namespace soak

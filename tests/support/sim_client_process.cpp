#include "support/sim_client_process.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iterator>
#include <thread>

#include "common/text_encoding.h"
#include "simclient/live_control.h"

namespace halyard::testing {
namespace {

std::wstring windowsPath(const char* path) {
    std::wstring p = fromUtf8(path);
    if (!p.empty() && p[0] == L'/') p = L"Z:" + p;  // a Unix path under Wine
    for (auto& c : p)
        if (c == L'/') c = L'\\';
    return p;
}

std::wstring quoted(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
    std::wstring out = L"\"";
    for (wchar_t c : arg) {
        if (c == L'"') out += L'\\';
        out += c;
    }
    return out + L"\"";
}

struct MainWindowSearch {
    DWORD processId;
    HWND found = nullptr;
};

BOOL CALLBACK findMainWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<MainWindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (pid == search->processId && std::wstring(name) == simclient::kMainWindowClass) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

struct DescendantSearch {
    const wchar_t* className;
    const wchar_t* text;
    std::vector<HWND> found;
};

BOOL CALLBACK collectDescendant(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<DescendantSearch*>(param);
    wchar_t name[128] = {};
    GetClassNameW(window, name, 128);
    if (std::wstring(name) == search->className && (!search->text || windowTextOf(window) == search->text))
        search->found.push_back(window);
    return TRUE;
}

struct TitleSearch {
    DWORD processId;
    const std::wstring* title;
    HWND found = nullptr;
};

BOOL CALLBACK findTitle(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<TitleSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->processId && windowTextOf(window) == *search->title) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// Reads a JSON string starting at the opening quote; `i` ends after the closing quote.
bool readString(const std::string& s, size_t& i, std::string& out) {
    if (i >= s.size() || s[i] != '"') return false;
    ++i;
    while (i < s.size() && s[i] != '"') {
        char c = s[i++];
        if (c != '\\') {
            out.push_back(c);
            continue;
        }
        if (i >= s.size()) return false;
        const char e = s[i++];
        switch (e) {
            case 'n':
                out.push_back('\n');
                break;
            case 'r':
                out.push_back('\r');
                break;
            case 't':
                out.push_back('\t');
                break;
            case 'u': {
                if (i + 4 > s.size()) return false;
                const long cp = std::strtol(s.substr(i, 4).c_str(), nullptr, 16);
                i += 4;
                if (cp < 0x80) {
                    out.push_back(static_cast<char>(cp));
                } else {
                    out += toUtf8(std::wstring(1, static_cast<wchar_t>(cp)));
                }
                break;
            }
            default:
                out.push_back(e);
        }
    }
    if (i >= s.size()) return false;
    ++i;
    return true;
}

void skipBlanks(const std::string& s, size_t& i) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r')) ++i;
}

}  // namespace

std::wstring JournalEvent::text(const std::string& name) const {
    auto it = fields.find(name);
    return it == fields.end() ? std::wstring() : it->second;
}

double JournalEvent::number(const std::string& name) const {
    auto it = fields.find(name);
    if (it == fields.end()) return 0;
    return std::wcstod(it->second.c_str(), nullptr);
}

bool parseJournalLine(const std::string& line, JournalEvent& event) {
    event = JournalEvent{};
    size_t i = 0;
    skipBlanks(line, i);
    if (i >= line.size() || line[i++] != '{') return false;
    while (true) {
        skipBlanks(line, i);
        if (i < line.size() && line[i] == '}') return true;
        std::string key, value;
        if (!readString(line, i, key)) return false;
        skipBlanks(line, i);
        if (i >= line.size() || line[i++] != ':') return false;
        skipBlanks(line, i);
        if (i < line.size() && line[i] == '"') {
            if (!readString(line, i, value)) return false;
        } else {
            while (i < line.size() && line[i] != ',' && line[i] != '}') value.push_back(line[i++]);
        }
        if (key == "t") {
            event.t = std::atoll(value.c_str());
        } else if (key == "event") {
            event.event = value;
        } else {
            event.fields[key] = fromUtf8(value);
        }
        skipBlanks(line, i);
        if (i < line.size() && line[i] == ',') {
            ++i;
            continue;
        }
        return i < line.size() && line[i] == '}';
    }
}

std::vector<JournalEvent> readJournal(const std::wstring& path) {
    std::vector<JournalEvent> events;
    // The client keeps the journal open for writing while we read it.
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return events;
    std::string text;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) text.append(chunk, got);
    size_t start = 0;
    while (true) {
        const size_t end = text.find('\n', start);
        if (end == std::string::npos) break;  // a line still being written
        JournalEvent event;
        if (parseJournalLine(text.substr(start, end - start), event)) events.push_back(std::move(event));
        start = end + 1;
    }
    return events;
}

std::wstring SimClientProcess::executablePath(Bits bits) {
#ifdef HALYARD_SIMCLIENT_EXE_64
    if (bits == Bits::Client64) return windowsPath(HALYARD_SIMCLIENT_EXE_64);
#endif
#ifdef HALYARD_SIMCLIENT_EXE_32
    if (bits == Bits::Client32) return windowsPath(HALYARD_SIMCLIENT_EXE_32);
#endif
    (void)bits;
    return {};
}

bool SimClientProcess::available(Bits bits) {
    const std::wstring path = executablePath(bits);
    return !path.empty() && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

SimClientProcess::SimClientProcess(std::vector<std::wstring> arguments, Bits bits, DWORD startTimeoutMs)
    : temp_(std::make_unique<TempFolder>()) {
    folderPath_ = temp_->folder();
    const std::wstring exe = executablePath(bits);
    if (!available(bits)) {
        error_ = L"simclient executable not built: " + exe;
        return;
    }
    bool hasJournal = false;
    for (size_t i = 0; i + 1 < arguments.size(); ++i)
        if (arguments[i] == L"--journal") {
            hasJournal = true;
            journalPath_ = arguments[i + 1];
        }
    if (!hasJournal) {
        journalPath_ = temp_->file(L"journal.jsonl");
        arguments.push_back(L"--journal");
        arguments.push_back(journalPath_);
    }
    std::wstring commandLine = quoted(exe);
    for (const auto& a : arguments) commandLine += L" " + quoted(a);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        error_ = L"CreateProcess failed for " + exe;
        return;
    }
    CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    processId_ = info.dwProcessId;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(startTimeoutMs);
    HWND window = nullptr;
    while (std::chrono::steady_clock::now() < deadline) {
        if (WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0) {
            error_ = L"simclient exited at start";
            return;
        }
        MainWindowSearch search{processId_};
        EnumWindows(findMainWindow, reinterpret_cast<LPARAM>(&search));
        window = search.found;
        if (window) {
            for (const auto& e : journal())
                if (e.event == "started") {
                    mainWindow_ = window;
                    return;
                }
        }
        Sleep(20);
    }
    error_ = L"simclient main window did not appear";
}

SimClientProcess::~SimClientProcess() {
    stop();
}

bool SimClientProcess::running() const {
    return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

bool SimClientProcess::stop(DWORD timeoutMs) {
    if (!process_) return true;
    bool ended = true;
    if (running()) {
        std::wstring ignored;
        if (mainWindow_) simclient::sendControlCommand(mainWindow_, L"quit", ignored, 2000);
        if (WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) {
            ended = false;
            TerminateProcess(process_.get(), 9);
            WaitForSingleObject(process_.get(), 5000);
        }
    }
    process_.reset();
    mainWindow_ = nullptr;
    return ended;
}

bool SimClientProcess::send(const std::wstring& command, std::wstring* reply, UINT timeoutMs) {
    std::wstring text;
    const bool done = mainWindow_ && simclient::sendControlCommand(mainWindow_, command, text, timeoutMs) ==
                                         simclient::SendResult::Done;
    if (reply) *reply = text;
    return done;
}

std::optional<JournalEvent> SimClientProcess::waitForAfter(
    size_t skip, const std::function<bool(const JournalEvent&)>& accept, DWORD timeoutMs) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        const auto events = journal();
        for (size_t i = skip; i < events.size(); ++i)
            if (accept(events[i])) return events[i];
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        Sleep(20);
    }
}

std::optional<JournalEvent> SimClientProcess::waitFor(const std::function<bool(const JournalEvent&)>& accept,
                                                      DWORD timeoutMs) const {
    return waitForAfter(0, accept, timeoutMs);
}

std::optional<JournalEvent> SimClientProcess::waitFor(const std::string& event, DWORD timeoutMs) const {
    return waitFor([&](const JournalEvent& e) { return e.event == event; }, timeoutMs);
}

void postClick(HWND window, int x, int y) {
    const LPARAM point = static_cast<LPARAM>((x & 0xFFFF) | ((y & 0xFFFF) << 16));
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(window, WM_LBUTTONUP, MK_LBUTTON, point);
}

std::vector<HWND> findDescendants(HWND parent, const wchar_t* className) {
    DescendantSearch search{className, nullptr, {}};
    EnumChildWindows(parent, collectDescendant, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND findDescendant(HWND parent, const wchar_t* className, const wchar_t* text) {
    DescendantSearch search{className, text, {}};
    EnumChildWindows(parent, collectDescendant, reinterpret_cast<LPARAM>(&search));
    return search.found.empty() ? nullptr : search.found.front();
}

HWND waitForTopWindow(DWORD processId, const std::wstring& title, DWORD timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        TitleSearch search{processId, &title};
        EnumWindows(findTitle, reinterpret_cast<LPARAM>(&search));
        if (search.found || std::chrono::steady_clock::now() >= deadline) return search.found;
        Sleep(20);
    }
}

std::wstring windowTextOf(HWND window) {
    std::vector<wchar_t> buffer(static_cast<size_t>(GetWindowTextLengthW(window)) + 2);
    GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
    return buffer.data();
}

}  // namespace halyard::testing

namespace halyard::testing {

bool postKeysWithCtrl(HWND window, const std::vector<UINT>& keys, const std::function<bool()>& done,
                      DWORD timeoutMs) {
    const DWORD target = GetWindowThreadProcessId(window, nullptr), self = GetCurrentThreadId();
    if (!target || !AttachThreadInput(self, target, TRUE)) return false;
    BYTE saved[256] = {}, held[256] = {};
    GetKeyboardState(saved);
    std::copy(std::begin(saved), std::end(saved), std::begin(held));
    held[VK_CONTROL] = held[VK_LCONTROL] = 0x80;
    SetKeyboardState(held);
    for (UINT key : keys) {
        PostMessageW(window, WM_KEYDOWN, key, 1);
        PostMessageW(window, WM_KEYUP, key, 0xC0000001);
    }
    const DWORD start = GetTickCount();
    bool finished = done();
    for (; !finished && GetTickCount() - start < timeoutMs; finished = done()) Sleep(20);
    SetKeyboardState(saved);
    AttachThreadInput(self, target, FALSE);
    return finished;
}

std::wstring clipboardText() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) text = chars;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

bool setClipboardText(const std::wstring& text) {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    bool set = false;
    if (void* target = memory ? GlobalLock(memory) : nullptr) {
        std::copy(text.c_str(), text.c_str() + text.size() + 1, static_cast<wchar_t*>(target));
        GlobalUnlock(memory);
        set = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    }
    if (!set && memory) GlobalFree(memory);
    CloseClipboard();
    return set;
}

}  // namespace halyard::testing

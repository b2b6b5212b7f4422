#include "e2e/halyard_process.h"

#include <cstdlib>
#include <ctime>
#include <vector>

#include "app/registry_profile.h"
#include "rules/rule_file.h"

namespace e2e {
namespace {

constexpr int kDay = 24 * 3600;

struct Search {
    DWORD processId;
    bool mainWindow;
    HWND found;
};

BOOL CALLBACK findWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window) || !halyard::isDialogWindow(window))
        return TRUE;
    const bool holdsList = GetDlgItem(window, 1000) != nullptr;
    if (holdsList != search->mainWindow) return TRUE;
    if (!search->mainWindow && !IsWindowEnabled(window)) return TRUE;
    search->found = window;
    return FALSE;
}

HWND find(DWORD processId, bool mainWindow) {
    Search search{processId, mainWindow, nullptr};
    EnumWindows(findWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

template <typename Probe>
HWND pollWindow(DWORD timeoutMs, Probe probe) {
    const DWORD start = GetTickCount();
    while (true) {
        if (HWND window = probe()) return window;
        if (GetTickCount() - start >= timeoutMs) return nullptr;
        Sleep(50);
    }
}

std::vector<wchar_t> environmentWith(const std::wstring& name, const std::wstring& value) {
    std::vector<wchar_t> block;
    if (wchar_t* strings = GetEnvironmentStringsW()) {
        for (const wchar_t* entry = strings; *entry; entry += wcslen(entry) + 1) {
            std::wstring text(entry);
            if (_wcsnicmp(text.c_str(), (name + L"=").c_str(), name.size() + 1) == 0) continue;
            block.insert(block.end(), text.begin(), text.end());
            block.push_back(L'\0');
        }
        FreeEnvironmentStringsW(strings);
    }
    const std::wstring entry = name + L"=" + value;
    block.insert(block.end(), entry.begin(), entry.end());
    block.push_back(L'\0');
    block.push_back(L'\0');
    return block;
}

}  // namespace

std::wstring timeZoneForLocalTime(int hour, int minute, int second) {
    SYSTEMTIME utc{};
    GetSystemTime(&utc);
    const int now = utc.wHour * 3600 + utc.wMinute * 60 + utc.wSecond;
    int offset = ((hour * 3600 + minute * 60 + second - now) % kDay + kDay) % kDay;
    if (offset > kDay / 2) offset -= kDay;
    // TZ counts hours west of UTC: a local time ahead of UTC has a negative offset.
    const wchar_t sign = offset >= 0 ? L'-' : L'+';
    if (offset < 0) offset = -offset;
    wchar_t text[32];
    swprintf(text, 32, L"HAL%lc%02d:%02d:%02d", sign, offset / 3600, offset / 60 % 60, offset % 60);
    return text;
}

int localSecondsUnder(const std::wstring& timeZone) {
    _wputenv_s(L"TZ", timeZone.c_str());
    _tzset();
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_s(&local, &now);
    _wputenv_s(L"TZ", L"");
    _tzset();
    return local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
}

std::wstring windowsPath(const std::string& path) {
    std::wstring wide(path.begin(), path.end());
    for (wchar_t& c : wide) {
        if (c == L'/') c = L'\\';
    }
    return !wide.empty() && wide[0] == L'\\' ? L"Z:" + wide : wide;
}

bool prepareProgramFolder(const std::wstring& folder, const RuleTable& rules) {
    return CopyFileW(windowsPath(HALYARD_EXE_PATH).c_str(), (folder + L"Halyard.exe").c_str(), FALSE) &&
           CopyFileW(windowsPath(HALYARD_BROKER_CONFIG).c_str(), (folder + L"broker_config.xml").c_str(),
                     FALSE) &&
           saveRules(folder, rules);
}

void writeMonitorSettings(int intervalSeconds, int traceOrder, int neverFoundValidBroker) {
    RegistryProfile profile(L"Halyard");
    profile.writeInt(L"Timer", intervalSeconds);
    profile.writeInt(L"TraceOrdr", traceOrder);
    profile.writeInt(L"NeverFoundValidBroke", neverFoundValidBroker);
}

void writeAlertChannels(const std::wstring& webhookUrl) {
    RegistryProfile profile(L"Halyard");
    profile.writeInt(L"PhoneMessage", 1);
    profile.writeString(L"PhoneNumber", L"13800000000");
    profile.writeInt(L"QQMessage", 1);
    profile.writeString(L"QQ", L"止损提醒");
    profile.writeInt(L"WebhookMessage", 1);
    profile.writeInt(L"WebhookFormat", 0);
    profile.writeString(L"WebhookUrl", webhookUrl);
}

int readMonitorSetting(const wchar_t* name, int defaultValue) {
    RegistryProfile profile(L"Halyard");
    return profile.readInt(name, defaultValue);
}

HalyardProcess::HalyardProcess(const std::wstring& folder, const std::wstring& timeZone) {
    std::wstring commandLine = L"\"" + folder + L"Halyard.exe\"";
    std::vector<wchar_t> environment = environmentWith(L"TZ", timeZone);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                       environment.data(), folder.c_str(), &startup, &info)) {
        process_.reset(info.hProcess);
        CloseHandle(info.hThread);
        processId_ = info.dwProcessId;
    }
}

HalyardProcess::~HalyardProcess() {
    if (!process_) return;
    if (!waitForExit(0) && !close(15000)) TerminateProcess(process_.get(), 1);
    waitForExit(5000);
}

HWND HalyardProcess::waitForMainWindow(DWORD timeoutMs) {
    return pollWindow(timeoutMs, [this] { return find(processId_, true); });
}

HWND HalyardProcess::waitForMessageBox(DWORD timeoutMs) {
    return pollWindow(timeoutMs, [this] { return find(processId_, false); });
}

bool HalyardProcess::close(DWORD timeoutMs) {
    if (HWND window = find(processId_, true)) PostMessageW(window, WM_CLOSE, 0, 0);
    return waitForExit(timeoutMs);
}

bool HalyardProcess::waitForExit(DWORD timeoutMs) {
    return process_ && WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
}

DWORD HalyardProcess::exitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_) GetExitCodeProcess(process_.get(), &code);
    return code;
}

HWND findMessageBox(DWORD processId) {
    return find(processId, false);
}

}  // namespace e2e

// soak_driver.exe: plays a soak's fault schedule against Halyard.exe, the simulated client and
// the messenger stand-ins, and journals what it did and measured (driver.jsonl); the checks are
// made afterwards from the journals. With --prompt MS JOURNAL it is the other program's prompt.
//
//   soak_driver.exe --folder DIR --client EXE --fetion EXE --qq EXE --webhook-port PORT
//                   [--client-options "WORDS"] [--captcha-answer-ms MS]
//
// DIR holds program\ (Halyard.exe and its files), client\scenario-1.txt and faults.txt: one
// step a line, "MS WORD...", MS counted from the start of the market.
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/file_store.h"
#include "common/text_encoding.h"
#include "common/unique_handle.h"
#include "e2e/halyard_process.h"
#include "simclient/command_text.h"
#include "simclient/live_control.h"
#include "soak/captcha_investor.h"
#include "soak/foreign_prompt.h"
#include "soak/soak_journal.h"
#include "soak/soak_watch.h"

namespace soak {
namespace {

using Words = std::vector<std::wstring>;

struct Step {
    long long atMs = 0;
    Words words;
};

struct Settings {
    std::wstring folder, client, fetion, qq, port;
    std::wstring clientOptions;     // appended to the client's command line
    long long captchaAnswerMs = 0;  // 0: nobody types a captcha's code
};

std::vector<Step> readSchedule(const std::wstring& path) {
    std::string bytes;
    std::vector<Step> steps;
    if (!halyard::readWholeFile(path, bytes)) return steps;
    const std::wstring text = halyard::fromUtf8(bytes);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        Words words = halyard::simclient::splitCommand(text.substr(start, end - start));
        start = end + 1;
        int64_t ms = 0;
        if (words.size() < 2 || !halyard::simclient::parseWholeInteger(words[0], ms)) continue;
        steps.push_back(Step{ms, Words(words.begin() + 1, words.end())});
    }
    std::stable_sort(steps.begin(), steps.end(),
                     [](const Step& a, const Step& b) { return a.atMs < b.atMs; });
    return steps;
}

struct WindowSearch {
    DWORD processId;
    const std::wstring& className;
    HWND found;
};

BOOL CALLBACK visitWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (pid != search->processId || !IsWindowVisible(window) ||
        (!search->className.empty() && search->className != name))
        return TRUE;
    search->found = window;
    return FALSE;
}

// A process of the stand-ins, closed as a user closes it (WM_CLOSE to its top windows).
class StandIn {
public:
    bool start(const std::wstring& commandLine, const std::wstring& folder) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        std::wstring line = commandLine;
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                            &startup, &info))
            return false;
        CloseHandle(info.hThread);
        process_.reset(info.hProcess);
        processId_ = info.dwProcessId;
        return true;
    }
    // The first visible top-level window of the process whose class is `className` (any when empty).
    HWND window(const std::wstring& className = L"") const {
        WindowSearch search{processId_, className, nullptr};
        EnumWindows(visitWindow, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    HWND waitForWindow(const std::wstring& className, DWORD timeoutMs) const {
        const ULONGLONG until = GetTickCount64() + timeoutMs;
        while (GetTickCount64() < until) {
            if (HWND w = window(className)) return w;
            if (!running()) return nullptr;
            Sleep(100);
        }
        return nullptr;
    }
    bool running() const { return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }
    void close(const std::wstring& className = L"") {
        if (!process_) return;
        for (int i = 0; i < 5 && running(); ++i) {
            if (HWND w = window(className)) PostMessageW(w, WM_CLOSE, 0, 0);
            WaitForSingleObject(process_.get(), 2000);
        }
        if (running()) TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 5000);
        process_.reset();
    }
    ~StandIn() { close(); }

private:
    halyard::UniqueHandle process_;
    DWORD processId_ = 0;
};

std::wstring quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

class SoakDriver {
public:
    explicit SoakDriver(Settings settings) : s_(std::move(settings)), investor_(s_.captchaAnswerMs) {}

    int run() {
        if (!journal_.open(s_.folder + L"driver.jsonl")) return 1;
        writeSettings();
        if (!startMessengers()) return fail(L"the messenger stand-ins did not start");
        journal_.startClock();
        if (!startClient()) return fail(L"the simulated client did not start");
        // The morning session, 9:15 to 11:30, holds a soak of up to 130 minutes.
        const std::wstring zone = e2e::timeZoneForLocalTime(9, 20, 0);
        halyard_ = std::make_unique<e2e::HalyardProcess>(s_.folder + L"program\\", zone);
        if (!halyard_->started() || !halyard_->waitForMainWindow(60000))
            return fail(L"Halyard did not start");
        journal_.write("halyard_started", {{"pid", std::to_wstring(halyard_->processId())}, {"tz", zone}});
        watch_ = std::make_unique<MainWindowWatch>(halyard_->processId(), journal_);
        for (const Step& step : readSchedule(s_.folder + L"faults.txt")) {
            while (journal_.elapsedMs() < step.atMs) {
                typeCaptchas();
                Sleep(20);
            }
            perform(step.words);
        }
        watch_->stop();
        const bool closed = halyard_->close(60000);
        journal_.write("halyard_closed", {{"in_time", closed ? L"yes" : L"no"}});
        halyard_.reset();
        client_.close(halyard::simclient::kMainWindowClass);
        fetion_.close();
        qq_.close();
        journal_.write("finished");
        return 0;
    }

private:
    int fail(const std::wstring& why) {
        journal_.write("setup_failed", {{"why", why}});
        return 2;
    }

    void writeSettings() {
        // Every message channel on, 追单 on, a 3 s interval, as a user would have them set.
        e2e::writeMonitorSettings(3, 1, 0);
        e2e::writeAlertChannels(L"http://127.0.0.1:" + s_.port + L"/soak/send?key=SOAKSECRET");
    }

    bool startMessengers() {
        const std::wstring journals = s_.folder + L"messengers\\";
        const bool started =
            fetion_.start(quoted(s_.fetion) + L" --journal " + quoted(journals + L"fetion.jsonl"),
                          journals) &&
            qq_.start(
                quoted(s_.qq) + L" --journal " + quoted(journals + L"qq.jsonl") + L" --nickname 止损提醒",
                journals) &&
            fetion_.waitForWindow(L"FxWnd", 30000) && qq_.waitForWindow(L"TXGuiFoundation", 30000);
        journal_.write(started ? "messengers_started" : "messengers_failed");
        return started;
    }

    bool startClient() {
        ++clientInstance_;
        const std::wstring folder = s_.folder + L"client\\";
        const std::wstring n = std::to_wstring(clientInstance_);
        const std::wstring clientJournal = folder + L"journal-" + n + L".jsonl";
        investor_.watch(clientJournal);
        const bool started =
            client_.start(quoted(s_.client) + L" --scenario " + quoted(folder + L"scenario-" + n + L".txt") +
                              L" --journal " + quoted(clientJournal) + L" " + s_.clientOptions,
                          folder) &&
            client_.waitForWindow(halyard::simclient::kMainWindowClass, 30000);
        journal_.write(started ? "client_started" : "client_failed", {{"instance", n}});
        return started;
    }

    bool sendToClient(const std::wstring& command, std::wstring& reply) {
        reply = L"no window";
        auto result = halyard::simclient::SendResult::NoAnswer;
        if (HWND w = client_.window(halyard::simclient::kMainWindowClass))
            result = halyard::simclient::sendControlCommand(w, command, reply);
        return result == halyard::simclient::SendResult::Done;
    }

    void send(const std::wstring& command) {
        std::wstring reply;
        const bool done = sendToClient(command, reply);
        journal_.write("fault",
                       {{"command", command}, {"result", done ? L"done" : L"failed"}, {"reply", reply}});
    }

    // The investor types each code the client asked for; a hung client is tried again later.
    void typeCaptchas() {
        for (const std::wstring& code : investor_.due(journal_.elapsedMs())) {
            std::wstring reply;
            const bool done = sendToClient(L"captcha " + code, reply);
            journal_.write("captcha_typed",
                           {{"code", code}, {"result", done ? L"done" : L"failed"}, {"reply", reply}});
            if (!done && client_.running()) investor_.giveBack(code, journal_.elapsedMs());
        }
    }

    void perform(const Words& w) {
        const std::wstring& action = w[0];
        if (action == L"client" && w.size() > 1) {
            send(halyard::simclient::joinCommand(Words(w.begin() + 1, w.end())));
        } else if (action == L"client-close" && w.size() == 2) {
            const std::wstring next = std::to_wstring(clientInstance_ + 1);
            send(L"save-state " + quoted(s_.folder + L"client\\scenario-" + next + L".txt") + L" " + w[1]);
            client_.close(halyard::simclient::kMainWindowClass);
            journal_.write("client_closed", {{"instance", std::to_wstring(clientInstance_)}});
        } else if (action == L"client-start") {
            startClient();
        } else if (action == L"messengers-close") {
            fetion_.close();
            qq_.close();
            journal_.write("messengers_closed");
        } else if (action == L"messengers-start") {
            startMessengers();
        } else if (action == L"prompt" && w.size() == 2) {
            prompts_.push_back(std::make_unique<StandIn>());
            const bool shown = prompts_.back()->start(
                quoted(ownPath()) + L" --prompt " + w[1] + L" " + quoted(s_.folder + L"prompt.jsonl"),
                s_.folder);
            journal_.write("prompt", {{"started", shown ? L"yes" : L"no"}});
        } else if (action == L"measure" && w.size() == 2) {
            journalResources(halyard_->processId(), w[1].c_str(), journal_);
        } else if (action == L"webhook") {
            journal_.write("webhook_mode", {{"mode", w.size() > 1 ? w[1] : L""}});  // the server plays it
        } else {
            journal_.write("unknown_step", {{"step", halyard::simclient::joinCommand(w)}});
        }
    }

    static std::wstring ownPath() {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        return path;
    }

    Settings s_;
    SoakJournal journal_;
    CaptchaInvestor investor_;
    StandIn fetion_, qq_, client_;
    std::vector<std::unique_ptr<StandIn>> prompts_;
    std::unique_ptr<e2e::HalyardProcess> halyard_;
    std::unique_ptr<MainWindowWatch> watch_;
    int clientInstance_ = 0;
};

std::map<std::wstring, std::wstring> options(const Words& args) {
    std::map<std::wstring, std::wstring> named;
    for (size_t i = 0; i + 1 < args.size(); i += 2) named[args[i]] = args[i + 1];
    return named;
}

Words arguments() {
    Words args;
    int count = 0;
    LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; list && i < count; ++i) args.emplace_back(list[i]);
    if (list) LocalFree(list);
    return args;
}

}  // namespace
}  // namespace soak

int wmain() {
    const soak::Words args = soak::arguments();
    if (args.size() == 3 && args[0] == L"--prompt")
        return soak::runForeignPrompt(std::wcstoul(args[1].c_str(), nullptr, 10), args[2]);
    auto named = soak::options(args);
    soak::Settings settings{named[L"--folder"],
                            named[L"--client"],
                            named[L"--fetion"],
                            named[L"--qq"],
                            named[L"--webhook-port"],
                            named[L"--client-options"],
                            std::wcstoll(named[L"--captcha-answer-ms"].c_str(), nullptr, 10)};
    if (settings.folder.empty() || settings.client.empty() || settings.fetion.empty() ||
        settings.qq.empty() || settings.port.empty())
        return 1;
    if (settings.folder.back() != L'\\') settings.folder += L'\\';
    return soak::SoakDriver(std::move(settings)).run();
}

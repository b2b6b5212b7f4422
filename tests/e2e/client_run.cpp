#include "e2e/client_run.h"

#include <sstream>

#include "common/file_store.h"
#include "common/text_encoding.h"
#include "common/unique_handle.h"
#include "support/sim_client_process.h"

using halyard::testing::JournalEvent;
using halyard::testing::SimClientProcess;

std::string readSharedFile(const std::wstring& path) {
    // The writer keeps the file open, so it is read with write sharing allowed.
    halyard::UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes;
    if (!file) return bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
}

std::string ClientEvent::field(const std::string& name) const {
    auto found = fields.find(name);
    return found == fields.end() ? std::string() : found->second;
}

struct ClientRun::Impl {
    std::unique_ptr<SimClientProcess> process;
};

namespace {

std::vector<std::wstring> words(const std::wstring& text) {
    std::vector<std::wstring> result;
    std::wistringstream in(text);
    for (std::wstring word; in >> word;) result.push_back(word);
    return result;
}

ClientEvent converted(const JournalEvent& source) {
    ClientEvent event;
    event.event = source.event;
    event.fields["t"] = std::to_string(source.t);
    event.line = "t=" + std::to_string(source.t) + " " + source.event;
    for (const auto& [name, value] : source.fields) {
        event.fields[name] = halyard::toUtf8(value);
        event.line += " " + name + "=" + halyard::toUtf8(value);
    }
    return event;
}

}  // namespace

ClientRun::ClientRun(const std::wstring& folder, const std::string& scenario, const std::wstring& arguments)
    : impl_(std::make_unique<Impl>()) {
    const std::wstring scenarioPath = folder + L"scenario.txt";
    halyard::replaceFileAtomically(scenarioPath, scenario);
    std::vector<std::wstring> all = {L"--scenario", scenarioPath};
    for (std::wstring& word : words(arguments)) all.push_back(std::move(word));
    impl_->process = std::make_unique<SimClientProcess>(all);
}

ClientRun::~ClientRun() = default;

bool ClientRun::running() const {
    return impl_->process->started() && impl_->process->running();
}

HWND ClientRun::mainWindow() const {
    return impl_->process->mainWindow();
}

bool ClientRun::send(const std::wstring& command) {
    return impl_->process->send(command);
}

std::vector<ClientEvent> ClientRun::events() const {
    std::vector<ClientEvent> events;
    for (const JournalEvent& event : impl_->process->journal()) events.push_back(converted(event));
    return events;
}

std::vector<ClientEvent> ClientRun::events(const std::string& name) const {
    std::vector<ClientEvent> matching;
    for (ClientEvent& event : events()) {
        if (event.event == name) matching.push_back(std::move(event));
    }
    return matching;
}

bool ClientRun::waitForEvents(const std::string& name, size_t count, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (true) {
        if (events(name).size() >= count) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(100);
    }
}

// simclient.exe: the simulated broker trading client, or with --send a remote control of a
// running one (exit 0 done, 1 refused or bad usage, 2 no running client, 3 no answer).
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "common/text_encoding.h"
#include "simclient/client_app.h"
#include "simclient/client_options.h"
#include "simclient/command_text.h"
#include "simclient/live_control.h"

namespace {

using namespace halyard::simclient;

void print(DWORD stream, const std::wstring& text) {
    HANDLE out = GetStdHandle(stream);
    if (!out || out == INVALID_HANDLE_VALUE) return;
    const std::string bytes = halyard::toUtf8(text + L"\n");
    DWORD written = 0;
    WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::vector<std::wstring> arguments() {
    std::vector<std::wstring> args;
    int count = 0;
    LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!list) return args;
    for (int i = 1; i < count; ++i) args.emplace_back(list[i]);
    LocalFree(list);
    return args;
}

int sendToRunningClient(const ClientOptions& options) {
    HWND client = findClientInstance(options.instanceTitle);
    if (!client) {
        print(STD_ERROR_HANDLE, L"simclient: no running client");
        return 2;
    }
    std::wstring reply;
    const SendResult result = sendControlCommand(client, joinCommand(options.sendWords), reply);
    if (result == SendResult::NoAnswer) {
        print(STD_ERROR_HANDLE, L"simclient: the client did not answer");
        return 3;
    }
    print(STD_OUTPUT_HANDLE, reply);
    return result == SendResult::Done ? 0 : 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    ClientOptions options;
    std::wstring error;
    if (!parseClientOptions(arguments(), options, error)) {
        print(STD_ERROR_HANDLE, L"simclient: " + error);
        return 1;
    }
    if (options.sendMode) return sendToRunningClient(options);
    ClientApp app(std::move(options));
    return app.run();
}

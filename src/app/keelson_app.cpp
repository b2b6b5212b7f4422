#include "app/keelson_app.h"

#include "app/keelson_dlg.h"
#include "app/registry_profile.h"
#include "common/module_directory.h"

namespace {

const wchar_t kInstanceMutex[] = L"KeelsonInst";
const wchar_t kMainWindowTitle[] = L"Halyard";

}  // namespace

void bringWindowToFront(HWND window) {
    if (IsIconic(window)) {
        using SwitchToThisWindowFn = void(WINAPI*)(HWND, BOOL);
        HMODULE user32 = GetModuleHandleW(L"user32");
        FARPROC found = user32 ? GetProcAddress(user32, "SwitchToThisWindow") : nullptr;
        if (found) reinterpret_cast<SwitchToThisWindowFn>(reinterpret_cast<void*>(found))(window, TRUE);
        return;
    }
    RECT area{};
    GetWindowRect(window, &area);
    SetWindowPos(window, HWND_TOPMOST, area.left, area.top, 0, 0, SWP_NOSIZE);
    SetWindowPos(window, HWND_NOTOPMOST, area.left, area.top, 0, 0, SWP_NOSIZE);
}

int CKeelsonApp::initInstance() {
    HANDLE mutex = CreateMutexW(nullptr, TRUE, kInstanceMutex);
    const DWORD created = GetLastError();
    instanceMutex_.reset(mutex);
    if (created == ERROR_ALREADY_EXISTS) {
        if (HWND running = FindWindowW(nullptr, kMainWindowTitle)) bringWindowToFront(running);
        return 0;
    }
    RegistryProfile profile(RegistryProfile::executableApplicationName());
    CKeelsonDlg dialog(profile, halyard::moduleDirectory());
    dialog.doModal();
    return 0;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    CKeelsonApp application;
    return application.run();
}

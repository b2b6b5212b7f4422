// The settings dialogs behind the main window's buttons, opened and left with 取消 as a user
// would; each one that exists is photographed for the help document. A button that opens no
// dialog yet is reported and skipped.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "e2e/scenario.h"

namespace e2e {
namespace {

using HelpPictures = Scenario;

struct Shown {
    DWORD processId;
    std::vector<HWND> known;
    HWND found;
};

BOOL CALLBACK newDialogOf(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Shown*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
    for (HWND known : search->known)
        if (known == window) return TRUE;
    search->found = window;
    return FALSE;
}

// A visible top-level window of the program that is none of `known`, or null after the wait.
HWND waitForNewWindow(DWORD processId, const std::vector<HWND>& known, DWORD timeoutMs) {
    for (DWORD waited = 0;; waited += 100) {
        Shown search{processId, known, nullptr};
        EnumWindows(newDialogOf, reinterpret_cast<LPARAM>(&search));
        if (search.found || waited >= timeoutMs) return search.found;
        Sleep(100);
    }
}

bool closedWithCancel(HWND dialog) {
    pressMessageBoxButton(dialog, IDCANCEL);
    for (int i = 0; i < 100 && IsWindow(dialog) && IsWindowVisible(dialog); ++i) Sleep(50);
    return !IsWindow(dialog) || !IsWindowVisible(dialog);
}

TEST_F(HelpPictures, SettingsDialogsOpenAndCloseWithCancel) {
    startClient(kPortfolio);
    RuleTable rules;
    rules[L"600000"] = stopLossRule(L"600000", 5);
    startHalyard(rules, 10, 0, 0);
    expectMainWindow();

    // Button of the main window, picture name, and a button inside that opens a second dialog.
    const struct {
        int button;
        const char* picture;
        int inner;
        const char* innerPicture;
    } dialogs[] = {{1018, "broker-settings", 1019, "button-positions"}, {1033, "alert-settings", 0, nullptr}};
    for (const auto& d : dialogs) {
        PostMessageW(GetDlgItem(mainWindow, d.button), BM_CLICK, 0, 0);
        HWND dialog = waitForNewWindow(halyard->processId(), {mainWindow}, 5000);
        if (!dialog) {
            std::printf("button %d opens no dialog yet: no picture %s\n", d.button, d.picture);
            continue;
        }
        screenshot(d.picture);
        if (d.inner) {
            PostMessageW(GetDlgItem(dialog, d.inner), BM_CLICK, 0, 0);
            if (HWND inner = waitForNewWindow(halyard->processId(), {mainWindow, dialog}, 5000)) {
                screenshot(d.innerPicture);
                EXPECT_TRUE(closedWithCancel(inner)) << d.innerPicture;
            }
        }
        EXPECT_TRUE(closedWithCancel(dialog)) << d.picture;
    }
    // The program still answers: its main window closes as usual (TearDown).
    EXPECT_TRUE(IsWindowVisible(mainWindow));
}

}  // namespace
}  // namespace e2e

#pragma once
// Shared steps of the tests that drive dialogs through their real windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "framework/application.h"
#include "framework/dialog_driver.h"
#include "framework/window.h"

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(halyard::initCommonControls()); }

    // The message box that must come up now: its text, after answering it with `button`.
    static std::wstring answerMessageBox(halyard::ModalDialogThread& run, int button = IDOK) {
        HWND box = run.waitForMessageBox();
        if (!box) return L"(no message box)";
        std::wstring text = halyard::messageBoxText(box);
        halyard::pressMessageBoxButton(box, button);
        for (int i = 0; i < 500 && IsWindow(box); ++i) Sleep(10);
        return text;
    }

    // Everything posted to the dialog so far has been handled.
    static void settle(halyard::ModalDialogThread& run, HWND dialog) {
        (void)dialog;
        EXPECT_TRUE(run.settle());
    }
};

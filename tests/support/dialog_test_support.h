#pragma once
// Shared steps of the tests that drive dialogs through their real windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "common/control_text.h"
#include "framework/application.h"
#include "framework/window.h"
#include "support/dialog_driver.h"

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(halyard::initCommonControls()); }

    // The message box that must come up now: its text, after answering it with `button`.
    static std::wstring answerMessageBox(halyard::ModalDialogThread& run, int button = IDOK) {
        return run.answerMessageBox(button);
    }

    // The controls' texts, each followed by '|'.
    static std::wstring texts(const halyard::ModalDialogThread& run, std::initializer_list<int> ids) {
        std::wstring all;
        for (int id : ids) all += run.text(id) + L"|";
        return all;
    }
    // The buttons' check states as 1 and 0, and the controls' enabled states as 1 and 0.
    static std::wstring checks(const halyard::ModalDialogThread& run, std::initializer_list<int> ids) {
        std::wstring all;
        for (int id : ids) all += run.isChecked(id) ? L'1' : L'0';
        return all;
    }
    static std::wstring enabled(const halyard::ModalDialogThread& run, std::initializer_list<int> ids) {
        std::wstring all;
        for (int id : ids) all += run.isEnabled(id) ? L'1' : L'0';
        return all;
    }
    static void setTexts(const halyard::ModalDialogThread& run,
                         std::initializer_list<std::pair<int, const wchar_t*>> texts) {
        for (const auto& [id, text] : texts) run.setText(id, text);
    }
};

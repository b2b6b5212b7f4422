#include "alerts/alert_sound_path.h"

#include <gtest/gtest.h>

namespace {

TEST(AlertSoundPath, NamesWithoutABackslashComeFromOrderSound) {
    EXPECT_EQ(alertSoundPath(L"StopLoss.wav", L"C:\\Halyard\\"), L"C:\\Halyard\\OrderSound\\StopLoss.wav");
    // An empty name points at the folder itself; the system sound then stands in.
    EXPECT_EQ(alertSoundPath(L"", L"C:\\Halyard\\"), L"C:\\Halyard\\OrderSound\\");
    EXPECT_EQ(alertSoundPath(L"D:\\sounds\\a.wav", L"C:\\Halyard\\"), L"D:\\sounds\\a.wav");
    EXPECT_EQ(alertSoundPath(L"sounds\\a.wav", L"C:\\Halyard\\"), L"sounds\\a.wav");
    // Only a backslash counts as a path.
    EXPECT_EQ(alertSoundPath(L"sounds/a.wav", L"C:\\Halyard\\"), L"C:\\Halyard\\OrderSound\\sounds/a.wav");
}

}  // namespace

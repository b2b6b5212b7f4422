#pragma once
// Copying the content of a drawn grid ("CVirtualGridCtrl") of the broker client as its
// tab-separated text: Ctrl+A and Ctrl+C posted to the grid with Ctrl held for the client's
// thread only, or the grid's own 复制 command when the keys copied nothing. The investor's
// clipboard is given back afterwards.
#include <windows.h>

#include <string>

enum class GridCopyOutcome {
    Copied,
    NothingCopied,    // the grid put nothing on the clipboard
    CaptchaShown,     // the client asks the investor for a code; nothing was copied
    NotAnswering,     // the grid is gone or its thread did not answer
    ClientMinimised,  // nothing copied while the client is minimised
    ClipboardBusy,    // another program held the clipboard
};

struct GridCopy {
    GridCopyOutcome outcome = GridCopyOutcome::NothingCopied;
    std::wstring text;  // the grid's text when copied
};

// The grid's 复制 menu command (MFC's ID_EDIT_COPY), sent to the grid itself.
constexpr WPARAM kGridCopyCommand = 0xE122;

GridCopy copyGridText(HWND grid);

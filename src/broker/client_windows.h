#pragma once
// Telling the broker client's main window from other windows that merely share words of its
// title (a browser tab, a news window), and telling whether Halyard may touch the client at all.
#include <windows.h>

#include <vector>

// Every top-level window (hidden ones too, EnumWindows order) whose title contains `text`.
std::vector<HWND> findTopWindowsByTitle(const wchar_t* text);
// The client's toolbar ("MHPToolBar" titled "MainViewBar") below `main`, or null.
HWND clientToolbarOf(HWND main);
// The first window whose title contains `text` and which has the client's toolbar; when none
// has one, the first whose title contains `text` (null when none does).
HWND findClientWindowByTitle(const wchar_t* text);
// True when the client's process cannot be opened for reading, or refuses messages for access:
// a client started as administrator, out of reach of a Halyard started normally.
bool clientRefusesAccess(HWND main);
// 0 when Halyard may read and press the client; else why not: kClientElevated, or
// kClientTooWide for a 64-bit client seen from a 32-bit Halyard.
int clientOutOfReach(HWND main);

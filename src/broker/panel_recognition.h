#pragma once
// Telling the client's panels apart by the column titles of their lists.
#include <windows.h>

#include <string>
#include <vector>

std::vector<std::wstring> listTitlesOf(HWND window);
HWND listHasExactColumns(HWND window, const std::vector<std::wstring>& expected);
bool containsAllTitles(const std::vector<std::wstring>& required, const std::vector<std::wstring>& titles);
bool isPositionsPanel(HWND window);
bool isOrdersPanel(HWND window);

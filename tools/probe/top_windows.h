#pragma once
// The desktop's top-level windows with the program that owns each.
#include <windows.h>

#include <string>
#include <vector>

namespace halyard::probe {

struct TopWindow {
    HWND window = nullptr;
    std::wstring title;
    std::wstring className;
    DWORD processId = 0;
    std::wstring processName;  // empty when the process cannot be asked
    int bits = 0;              // 32 or 64; 0 when unknown
    bool visible = false;
};

std::vector<TopWindow> listTopWindows();
std::wstring describe(const TopWindow& window);

}  // namespace halyard::probe

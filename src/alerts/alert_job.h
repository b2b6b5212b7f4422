#pragma once
#include <string>

// What one SMS or QQ send is handed: copies of the caller's strings.
struct AlertJob {
    std::wstring recipient;  // phone number, or the title of the QQ chat window
    std::wstring text;
};

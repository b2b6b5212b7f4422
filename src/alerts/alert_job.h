#pragma once
#include <string>

// What one SMS or QQ alert thread is handed; the thread owns it and deletes it after the send.
struct AlertJob {
    std::wstring recipient;  // phone number, or the title of the QQ chat window
    std::wstring text;
};

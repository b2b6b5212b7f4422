#pragma once
// QQ messages typed into an open chat window ("TXGuiFoundation" titled with the nickname) and
// sent with a click on its send button near the bottom right corner.
#include <windows.h>

#include <string>

class QqDriver {
public:
    // 1 when the text was typed and the send point clicked, 0 without such a chat window (or
    // when it stopped answering while the text was typed).
    int sendQqMessage(const std::wstring& windowTitle, const std::wstring& text);

private:
    HWND qqChatWindow = nullptr;  // the window of the last send
};

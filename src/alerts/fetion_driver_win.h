#pragma once
// SMS through the Fetion messenger's windows: its main window opens the "发短信" window, whose
// first and third "FxRichEdit" fields take the recipient and the message.
#include <windows.h>

#include <string>

// The Fetion main window: class "FxWnd" titled "飞信2013", else the first top-level window whose
// title contains "飞信". Null when Fetion is not running.
HWND findFetionMainWindow();

class FetionDriver {
public:
    // 1 when the message was handed to the send button, 0 when a needed window is missing.
    int sendFetionSms(const std::wstring& phoneNumber, const std::wstring& text);

private:
    bool smsWindowReady() const;
    void scanForSmsWindow();
    static BOOL CALLBACK topWindowStep(HWND window, LPARAM self);
    static BOOL CALLBACK fieldStep(HWND window, LPARAM self);

    // Kept between sends and checked with IsWindow before each use.
    HWND fetionMainWindow = nullptr;
    HWND smsWindow = nullptr;
    HWND smsRecipientEdit = nullptr;
    HWND smsMessageEdit = nullptr;
    int richEditCount = 0;
};

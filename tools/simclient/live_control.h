#pragma once
// Live control of a running client: a command line handed over with WM_COPYDATA (UTF-16),
// answered with a WM_COPYDATA to the sender's reply window (wParam) before the send returns.
#include <windows.h>

#include <string>

namespace halyard::simclient {

inline constexpr wchar_t kMainWindowClass[] = L"HalyardSimClient";
inline constexpr ULONG_PTR kCommandData = 0x434D4953;  // "SIMC"
inline constexpr ULONG_PTR kReplyData = 0x524D4953;    // "SIMR"

// The first client main window whose title equals `title`, else the first whose title
// contains it; with an empty title, the first client main window. Null when none.
HWND findClientInstance(const std::wstring& title);

enum class SendResult { Done, Refused, NoAnswer };
// Refused: the client did not accept the command (unknown, bad arguments); NoAnswer: the
// window is gone or did not answer within the timeout.
SendResult sendControlCommand(HWND client, const std::wstring& command, std::wstring& reply,
                              UINT timeoutMs = 10000);

// Client side of WM_COPYDATA: the command text when the message carries one.
bool commandFromCopyData(LPARAM lParam, std::wstring& command);
void sendReply(HWND replyWindow, const std::wstring& reply);

}  // namespace halyard::simclient

#pragma once
// What the monitor cycle does when a rule triggers besides selling: which sound it plays and
// whom it messages. The main window hands them over from the settings.
#include <string>

struct AlertOptions {
    int playVoice = 1;
    std::wstring stopLossSound = L"StopLoss.wav";
    std::wstring moveStopLossSound = L"MoveStopLoss.wav";
    std::wstring takeProfitSound = L"TakeProfit.wav";
    int phoneMessage = 0;
    int qqMessage = 0;
    std::wstring phoneNumber;
    std::wstring qqNickname;
    // The group-robot webhook: on/off, its format (WebhookFormat of the alerts) and its URL.
    int webhookMessage = 0;
    int webhookFormat = 0;
    std::wstring webhookUrl;
};

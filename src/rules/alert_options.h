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
    // The robot's signing secret; empty for a robot without 加签 or 签名校验.
    std::wstring webhookSecret;
    // How many messages a push service (Server酱, PushPlus) is sent a day besides sale and
    // contact alerts.
    int pushDailyLimit = 50;
    // The 每日运行报告: a ready message each trading morning and a summary after the close.
    int dailyReport = 0;
};

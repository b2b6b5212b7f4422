#pragma once
// The real senders: PlaySound for the sounds, the executor's messenger operations for SMS and
// QQ, WinHTTP for the group robot.
#include "alerts/alert_dispatch.h"
#include "alerts/webhook_sender_win.h"

class OrderExecutor;

void playAlertSound(const std::wstring& file);
AlertSenders windowsAlertSenders(OrderExecutor& executor, WebhookTiming timing = WebhookTiming());

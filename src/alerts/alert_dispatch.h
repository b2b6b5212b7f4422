#pragma once
// Sound, SMS and QQ alerts. Every entry point returns at once: the sound plays asynchronously
// and each message is sent on a detached thread of its own.
#include <functional>
#include <memory>
#include <string>

#include "alerts/alert_job.h"

class OrderExecutor;

void playAlertSound(const std::wstring& file);
// The messages go out through `executor`, which must outlive the alert threads.
void startSmsAlert(OrderExecutor& executor, const std::wstring& phoneNumber, const std::wstring& text);
void startQqAlert(OrderExecutor& executor, const std::wstring& windowTitle, const std::wstring& text);

// The send an alert thread performs; its result is not used.
using AlertSender = std::function<int(const AlertJob& job)>;
// Starts a detached thread that runs send(job) and then deletes the job. False (and the job
// deleted) when no thread could be started.
bool startAlertThread(std::unique_ptr<AlertJob> job, AlertSender send);

#pragma once
// Sound, SMS and QQ alerts. Every entry point returns at once: the sound plays asynchronously
// and each message is sent on a detached thread of its own.
#include <memory>
#include <string>

#include "alerts/alert_job.h"

void playAlertSound(const std::wstring& file);
void startSmsAlert(const std::wstring& phoneNumber, const std::wstring& text);
void startQqAlert(const std::wstring& windowTitle, const std::wstring& text);

// The send an alert thread performs; its result is not used.
using AlertSender = int (*)(const AlertJob& job);
// Starts a detached thread that runs send(job) and then deletes the job. False (and the job
// deleted) when no thread could be started.
bool startAlertThread(std::unique_ptr<AlertJob> job, AlertSender send);

#include <windows.h>

#include <mmsystem.h>

#include "alerts/alert_dispatch.h"
#include "alerts/alert_sound_path.h"
#include "broker/order_executor.h"
#include "common/module_directory.h"
#include "common/unique_handle.h"

namespace {

struct AlertThreadStart {
    std::unique_ptr<AlertJob> job;
    AlertSender send;
};

DWORD WINAPI alertThread(void* parameter) {
    std::unique_ptr<AlertThreadStart> start(static_cast<AlertThreadStart*>(parameter));
    start->send(*start->job);
    return 0;
}

std::unique_ptr<AlertJob> makeJob(const std::wstring& recipient, const std::wstring& text) {
    auto job = std::make_unique<AlertJob>();
    job->recipient = recipient;
    job->text = text;
    return job;
}

}  // namespace

void playAlertSound(const std::wstring& file) {
    const std::wstring path = alertSoundPath(file, halyard::moduleDirectory());
    PlaySoundW(nullptr, nullptr, SND_FILENAME | SND_PURGE);
    PlaySoundW(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC);
}

bool startAlertThread(std::unique_ptr<AlertJob> job, AlertSender send) {
    auto start = std::make_unique<AlertThreadStart>(AlertThreadStart{std::move(job), std::move(send)});
    halyard::UniqueHandle thread(CreateThread(nullptr, 0, alertThread, start.get(), 0, nullptr));
    if (!thread) return false;
    start.release();  // the thread owns it now
    return true;
}

void startSmsAlert(OrderExecutor& executor, const std::wstring& phoneNumber, const std::wstring& text) {
    startAlertThread(makeJob(phoneNumber, text), [&executor](const AlertJob& job) {
        return executor.sendFetionSms(job.recipient.c_str(), job.text.c_str());
    });
}

void startQqAlert(OrderExecutor& executor, const std::wstring& windowTitle, const std::wstring& text) {
    startAlertThread(makeJob(windowTitle, text), [&executor](const AlertJob& job) {
        return executor.sendQqMessage(job.recipient.c_str(), job.text.c_str());
    });
}

#include "alerts/alert_dispatch_win.h"

#include <windows.h>

#include <mmsystem.h>

#include "alerts/alert_sound_path.h"
#include "alerts/fetion_driver_win.h"
#include "broker/order_executor.h"
#include "common/module_directory.h"

void playAlertSound(const std::wstring& file) {
    const std::wstring path = alertSoundPath(file, halyard::moduleDirectory());
    PlaySoundW(nullptr, nullptr, SND_FILENAME | SND_PURGE);
    PlaySoundW(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC);
}

AlertSenders windowsAlertSenders(OrderExecutor& executor, WebhookTiming timing) {
    AlertSenders senders;
    senders.sound = playAlertSound;
    OrderExecutor* broker = &executor;
    senders.sms = [broker](const AlertJob& job) -> std::wstring {
        if (broker->sendFetionSms(job.recipient.c_str(), job.text.c_str()) == 1) return L"交给飞信发送";
        return findFetionMainWindow() ? L"飞信短信窗口打不开" : L"未找到飞信";
    };
    senders.qq = [broker](const AlertJob& job) -> std::wstring {
        if (broker->sendQqMessage(job.recipient.c_str(), job.text.c_str()) == 1) return L"已交给QQ";
        return L"未找到QQ聊天窗口";
    };
    senders.webhook = [timing](const WebhookTarget& target, const std::wstring& text,
                               const AlertPause& pause) { return sendWebhook(target, text, timing, pause); };
    return senders;
}

#pragma once
// Sound, SMS, QQ and group-robot alerts. Every entry point returns at once: the sound plays
// asynchronously, and each message channel has one worker that sends its messages in order.
// Each send's outcome is journalled as what it is.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "alerts/alert_job.h"
#include "alerts/alert_settings.h"
#include "alerts/alert_throttle.h"
#include "alerts/channel_worker.h"
#include "alerts/webhook_message.h"
#include "rules/alert_subject.h"

class TradeJournal;

// Waits that long; false when the program is ending.
using AlertPause = std::function<bool(unsigned milliseconds)>;

// What the workers do on each channel. The messengers' sends answer their outcome in words.
struct AlertSenders {
    std::function<void(const std::wstring& file)> sound;
    std::function<std::wstring(const AlertJob& job)> sms;
    std::function<std::wstring(const AlertJob& job)> qq;
    std::function<WebhookResult(const WebhookTarget& target, const std::wstring& text,
                                const AlertPause& pause)>
        webhook;
};

using WebhookDone = std::function<void(const WebhookResult& result)>;

// The dispatch's clocks: a monotonic one for repeats and pace, and the local day for a push
// service's budget. The system's when empty.
struct AlertClock {
    std::function<int64_t()> steadyMs;
    std::function<int()> day;
};

class AlertDispatch {
public:
    // The journal (may be null) must outlive stop() or the destructor.
    AlertDispatch(AlertSenders senders, TradeJournal* journal, AlertClock clock = AlertClock());
    ~AlertDispatch();
    AlertDispatch(const AlertDispatch&) = delete;
    AlertDispatch& operator=(const AlertDispatch&) = delete;

    void playAlertSound(const std::wstring& file);
    void startSmsAlert(const std::wstring& phoneNumber, const std::wstring& text,
                       AlertUrgency urgency = AlertUrgency::Urgent);
    void startQqAlert(const std::wstring& windowTitle, const std::wstring& text,
                      AlertUrgency urgency = AlertUrgency::Urgent);
    // `done` runs on the worker with the outcome (not when the send is dropped).
    void startWebhookAlert(const WebhookTarget& target, const std::wstring& text, WebhookDone done = nullptr,
                           AlertUrgency urgency = AlertUrgency::Urgent);

    // The one way a message alert goes out: the text on every channel switched on in `settings`,
    // SMS first, then QQ, then the group robot. A repeat of what was said about the subject goes
    // out only as a reminder every 10 minutes, and never to a push service; past a push
    // service's daily budget only sale and contact alerts reach it (the journal says so).
    void raiseMessage(const AlertOptions& settings, const std::wstring& text,
                      const AlertSubject& subject = AlertSubject());
    // A monitor round begins: a subject not raised in the last one has gone (alerts/alert_throttle.h).
    void beginRound();

    // Ends the workers: the send each is in gets until the budget's end, waiting sends are
    // dropped and journalled. True when every worker ended in time.
    bool stop(std::chrono::milliseconds budget = std::chrono::seconds(3));

private:
    struct Shared;
    void post(ChannelWorker& worker, const std::wstring& channel, const std::wstring& recipient,
              const std::wstring& text, std::function<std::wstring()> send, AlertUrgency urgency);
    int64_t steadyMs() const;
    int day() const;

    AlertSenders senders_;
    AlertClock clock_;
    std::mutex throttleLock_;
    RepeatFilter repeats_;
    DailyBudget pushBudget_;
    std::shared_ptr<Shared> shared_;
    ChannelWorker sms_;
    ChannelWorker qq_;
    ChannelWorker webhook_;
    bool stopped_ = false;
    bool ended_ = true;
};

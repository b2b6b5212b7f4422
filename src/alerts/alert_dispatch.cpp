#include "alerts/alert_dispatch.h"

#include <condition_variable>
#include <ctime>
#include <mutex>
#include <utility>

#include "common/c_format.h"
#include "rules/trade_journal.h"

namespace {

constexpr wchar_t kSmsChannel[] = L"短信";
constexpr wchar_t kQqChannel[] = L"QQ";
constexpr wchar_t kWebhookChannel[] = L"群机器人";
constexpr wchar_t kDroppedFull[] = L"队列已满,未发送";
constexpr wchar_t kDroppedAtExit[] = L"程序退出,未发送";
// Under a robot's limit of 20 a minute.
constexpr std::size_t kRobotMessagesPerMinute = 19;

}  // namespace

// What the workers' tasks share with the dispatch: the journal until stop closes it, and the
// stop signal that cuts a retry pause short.
struct AlertDispatch::Shared {
    std::mutex lock;
    std::condition_variable stopping;
    TradeJournal* journal = nullptr;
    bool ending = false;

    void journalOutcome(const std::wstring& channel, const std::wstring& outcome,
                        const std::wstring& recipient, const std::wstring& text) {
        std::lock_guard<std::mutex> guard(lock);
        if (journal) journal->note(L"提醒 " + channel + L" " + outcome + L" " + recipient + L": " + text);
    }
    bool isEnding() {
        std::lock_guard<std::mutex> guard(lock);
        return ending;
    }
    bool pause(unsigned milliseconds) {
        std::unique_lock<std::mutex> guard(lock);
        return !stopping.wait_for(guard, std::chrono::milliseconds(milliseconds), [this] { return ending; });
    }
};

AlertDispatch::AlertDispatch(AlertSenders senders, TradeJournal* journal, AlertClock clock)
    : senders_(std::move(senders)), clock_(std::move(clock)), shared_(std::make_shared<Shared>()) {
    shared_->journal = journal;
    webhook_.pace(kRobotMessagesPerMinute, std::chrono::minutes(1));
}

int64_t AlertDispatch::steadyMs() const {
    if (clock_.steadyMs) return clock_.steadyMs();
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int AlertDispatch::day() const {
    if (clock_.day) return clock_.day();
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return (local.tm_year + 1900) * 1000 + local.tm_yday;
}

AlertDispatch::~AlertDispatch() {
    stop();
}

void AlertDispatch::playAlertSound(const std::wstring& file) {
    if (senders_.sound) senders_.sound(file);
}

void AlertDispatch::post(ChannelWorker& worker, const std::wstring& channel, const std::wstring& recipient,
                         const std::wstring& text, std::function<std::wstring()> send, AlertUrgency urgency) {
    std::shared_ptr<Shared> shared = shared_;
    ChannelWorker::Task task;
    task.send = [shared, channel, recipient, text, send = std::move(send)] {
        shared->journalOutcome(channel, send(), recipient, text);
    };
    task.dropped = [shared, channel, recipient, text] {
        shared->journalOutcome(channel, shared->isEnding() ? kDroppedAtExit : kDroppedFull, recipient, text);
    };
    task.urgency = static_cast<int>(urgency);
    worker.post(std::move(task));
}

void AlertDispatch::startSmsAlert(const std::wstring& phoneNumber, const std::wstring& text,
                                  AlertUrgency urgency) {
    auto sms = senders_.sms;
    const AlertJob job{phoneNumber, text};
    post(
        sms_, kSmsChannel, phoneNumber, text, [sms, job] { return sms ? sms(job) : std::wstring(); },
        urgency);
}

void AlertDispatch::startQqAlert(const std::wstring& windowTitle, const std::wstring& text,
                                 AlertUrgency urgency) {
    auto qq = senders_.qq;
    const AlertJob job{windowTitle, text};
    post(
        qq_, kQqChannel, windowTitle, text, [qq, job] { return qq ? qq(job) : std::wstring(); }, urgency);
}

void AlertDispatch::startWebhookAlert(const WebhookTarget& target, const std::wstring& text, WebhookDone done,
                                      AlertUrgency urgency) {
    auto webhook = senders_.webhook;
    std::shared_ptr<Shared> shared = shared_;
    post(
        webhook_, kWebhookChannel, webhookRecipient(target), text,
        [webhook, shared, target, text, done] {
            WebhookResult result;
            if (webhook) result = webhook(target, text, [shared](unsigned ms) { return shared->pause(ms); });
            if (done) done(result);
            return webhookOutcomeText(result);
        },
        urgency);
}

void AlertDispatch::raiseMessage(const AlertOptions& settings, const std::wstring& text,
                                 const AlertSubject& subject) {
    AlertVerdict verdict;
    {
        std::lock_guard<std::mutex> guard(throttleLock_);
        verdict = repeats_.judge(subject, steadyMs());
    }
    if (!verdict.send) return;
    if (settings.phoneMessage) startSmsAlert(settings.phoneNumber, text, verdict.urgency);
    if (settings.qqMessage) startQqAlert(settings.qqNickname, text, verdict.urgency);
    if (!settings.webhookMessage) return;
    const WebhookTarget target{settings.webhookUrl, webhookFormatOf(settings.webhookFormat),
                               settings.webhookSecret};
    if (isPushService(target.format)) {
        // The push services count a day's messages: reminders would spend them.
        if (verdict.reminder) return;
        bool taken = false;
        {
            std::lock_guard<std::mutex> guard(throttleLock_);
            taken = pushBudget_.take(day(), settings.pushDailyLimit, verdict.beyondBudget);
        }
        if (!taken) {
            const std::wstring held =
                L"今日已发 " + halyard::wcformat("%d", DailyBudget::effective(settings.pushDailyLimit)) +
                L" 条, 未发送";
            shared_->journalOutcome(kWebhookChannel, held, webhookRecipient(target), text);
            return;
        }
    }
    startWebhookAlert(target, text, nullptr, verdict.urgency);
}

void AlertDispatch::beginRound() {
    std::lock_guard<std::mutex> guard(throttleLock_);
    repeats_.beginRound();
}

bool AlertDispatch::stop(std::chrono::milliseconds budget) {
    if (stopped_) return ended_;
    stopped_ = true;
    const auto deadline = std::chrono::steady_clock::now() + budget;
    {
        std::lock_guard<std::mutex> guard(shared_->lock);
        shared_->ending = true;
    }
    // The waiting sends are dropped before a pause is cut short, so none of them starts.
    for (ChannelWorker* worker : {&sms_, &qq_, &webhook_}) worker->requestStop();
    shared_->stopping.notify_all();
    ended_ = true;
    for (ChannelWorker* worker : {&sms_, &qq_, &webhook_}) ended_ = worker->waitStopped(deadline) && ended_;
    std::lock_guard<std::mutex> guard(shared_->lock);
    shared_->journal = nullptr;  // a send still running past the budget journals nothing more
    return ended_;
}

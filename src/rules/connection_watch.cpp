// The monitor's watch over its contact with the broker client: notice a client that closed,
// restarted or rebuilt its pages, or whose positions cannot be read (hung, 未响应), connect
// again (paced, so a client on its log-in or lock screen is not clicked through its pages every
// few seconds), tell the journal, the window and, after a minute of trading hours without
// contact, the alert channels, once per loss.
#include "broker/client_contact.h"
#include "broker/order_executor.h"
#include "rules/monitor_cycle.h"
#include "rules/trade_journal.h"

namespace {

constexpr uint32_t kEveryCycleMs = 60000;
constexpr uint32_t kRetryPauseMs = 30000;
constexpr uint32_t kAlertAfterMs = 60000;
constexpr uint32_t kReadAgeSlackMs = 10000;
constexpr wchar_t kNoClientWindow[] = L"券商软件还没运行";

}  // namespace

void MonitorCycle::watchOnly() {
    journalNotices();
    keepInContact(false);
}

bool MonitorCycle::keepInContact(bool tradingHours) {
    ContactState& contact = state_.contact;
    const uint32_t now = environment_.tickMs();
    if (executor_.isConnected()) {
        // A client whose reads fail is still connected: its reads tell when it is back.
        if (contact.lost && !contact.readsFailing) contactBack(L"已重新连接券商软件");
        return true;
    }
    contact.readsFailing = false;
    const bool firstLook = !contact.lost;
    if (firstLook) {
        contact = ContactState();
        contact.lost = true;
        contact.lostSinceMs = now;
        environment_.monitorEvent(MonitorEvent::ContactLost);
    }
    const bool due = !contact.attempted || now - contact.lostSinceMs < kEveryCycleMs ||
                     now - contact.lastAttemptMs >= kRetryPauseMs;
    if (due) {
        contact.attempted = true;
        contact.lastAttemptMs = now;
        // Outside trading hours a connect (which clicks through the client's pages) is made only
        // for a client window not tried before: one that does not fit is left alone all evening.
        const WindowHandle window = executor_.findClientMainWindow();
        if (tradingHours || (window && window != contact.triedWindow)) {
            contact.triedWindow = window;
            if (tryConnect(firstLook)) return true;
        } else if (firstLook) {
            contact.errorText = kNoClientWindow;
            note(L"与券商软件失去连接: " + contact.errorText);
        }
    }
    environment_.contactChanged(status(ContactStatus::Kind::Lost));
    if (tradingHours && !contact.lossAlerted && now - contact.lostSinceMs >= kAlertAfterMs) {
        contact.lossAlerted = true;
        connectionAlert(kContactLostAlert);
    }
    return false;
}

bool MonitorCycle::watchReads(bool tradingHours) {
    const std::wstring failure = contact_ ? contact_->positionsReadFailure() : std::wstring();
    const uint32_t now = environment_.tickMs();
    if (failure.empty()) {
        if (state_.contact.readsFailing) readsBack();
        state_.readSucceeded = true;
        state_.lastGoodReadMs = now;
        return true;
    }
    const uint32_t oldestUsableMs = 2 * environment_.monitorIntervalMs() + kReadAgeSlackMs;
    const bool recent = state_.readSucceeded && now - state_.lastGoodReadMs <= oldestUsableMs;
    ContactState& contact = state_.contact;
    if (!contact.lost) {
        contact = ContactState();
        contact.lost = true;
        contact.readsFailing = true;
        // A good read from before a pause of the monitor (the lunch break) counts from now.
        contact.lostSinceMs = recent ? state_.lastGoodReadMs : now;
    }
    contact.errorText = failure;
    environment_.contactChanged(status(ContactStatus::Kind::Lost));
    if (tradingHours && !contact.lossAlerted && now - contact.lostSinceMs >= kAlertAfterMs) {
        contact.lossAlerted = true;
        environment_.monitorEvent(MonitorEvent::ContactLost);
        note(L"与券商软件失去连接: " + failure);
        connectionAlert(kContactLostAlert);
    }
    return recent;
}

void MonitorCycle::readsBack() {
    // A short run of failed reads was never told, so its end is not either.
    const bool told = state_.contact.lossAlerted;
    state_.contact = ContactState();
    if (told) {
        note(L"券商软件已恢复响应, 持仓读取正常");
        connectionAlert(kContactBackAlert);
    }
    environment_.contactChanged(status(ContactStatus::Kind::Connected));
}

bool MonitorCycle::tryConnect(bool firstLook) {
    ContactState& contact = state_.contact;
    environment_.contactChanged(status(ContactStatus::Kind::Reconnecting));
    if (executor_.connect()) {
        contactBack(firstLook ? L"券商软件的窗口已关闭或重建, 已重新连接" : L"已重新连接券商软件");
        return true;
    }
    const std::wstring error = executor_.lastErrorText();
    if (firstLook || error != contact.errorText) note(L"与券商软件失去连接: " + error);
    contact.errorText = error;
    return false;
}

void MonitorCycle::contactBack(const std::wstring& line) {
    note(line);
    const bool alerted = state_.contact.lossAlerted;
    state_.contact = ContactState();
    if (alerted) connectionAlert(kContactBackAlert);
    environment_.contactChanged(status(ContactStatus::Kind::Connected));
    environment_.reconnected();
}

void MonitorCycle::connectionAlert(const wchar_t* text) {
    const AlertOptions& settings = environment_.alertSettings();
    if (settings.playVoice) {
        environment_.playAlertSound(settings.stopLossSound);
        if (journal_) journal_->alert(L"声音", settings.stopLossSound, text);
    }
    environment_.raiseMessageAlert(text);
}

ContactStatus MonitorCycle::status(ContactStatus::Kind kind) const {
    ContactStatus status;
    status.kind = kind;
    status.errorText = state_.contact.errorText;
    status.hasRead = state_.hasRead;
    status.lastRead = state_.lastRead;
    return status;
}

std::vector<std::wstring> MonitorCycle::journalNotices() {
    if (!contact_) return {};
    std::vector<std::wstring> notices = contact_->takeClientNotices();
    for (const std::wstring& notice : notices) {
        note(notice);
        if (notice != kCaptchaNotice) continue;
        // Only the investor can type the code; prices the form still gives keep being watched.
        environment_.clientAsksInvestor(notice);
        environment_.raiseMessageAlert(notice);
    }
    return notices;
}

void MonitorCycle::note(const std::wstring& line) {
    if (journal_) journal_->note(line);
}

#include "rules/rule_file_saver.h"

#include <utility>

#include "rules/rule_file.h"

RuleFileSaver::RuleFileSaver(std::wstring folder) : folder_(std::move(folder)) {
    writer_ = std::thread([this] { writerLoop(); });
}

RuleFileSaver::~RuleFileSaver() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        stopping_ = true;
    }
    changed_.notify_all();
    writer_.join();
}

void RuleFileSaver::saveNow(const RuleTable& rules, uint32_t nowMs) {
    handOver(rules);
    saved_ = true;
    lastSaveMs_ = nowMs;
    highsWaiting_ = false;
}

void RuleFileSaver::userChanged(const RuleTable& rules, uint32_t nowMs) {
    if (keepFile_) {
        keepFile_ = false;
        std::lock_guard<std::mutex> hold(lock_);
        keepAsideFirst_ = true;
    }
    saveNow(rules, nowMs);
}

void RuleFileSaver::highsMoved(const RuleTable& rules, uint32_t nowMs) {
    if (!saved_ || nowMs - lastSaveMs_ >= kHighsSpacingMs)
        saveNow(rules, nowMs);
    else
        highsWaiting_ = true;
}

void RuleFileSaver::tick(const RuleTable& rules, uint32_t nowMs) {
    if (highsWaiting_ && nowMs - lastSaveMs_ >= kHighsSpacingMs) saveNow(rules, nowMs);
}

bool RuleFileSaver::saveAndWait(const RuleTable& rules) {
    if (keepFile_) return false;
    handOver(rules);
    highsWaiting_ = false;
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait(hold, [this] { return !queued_ && !writing_; });
    return lastWriteOk_;
}

void RuleFileSaver::waitUntilWritten() {
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait(hold, [this] { return !queued_ && !writing_; });
}

std::optional<bool> RuleFileSaver::takeWriteOutcomeChange() {
    std::lock_guard<std::mutex> hold(lock_);
    if (lastWriteOk_ == toldWriteOk_) return std::nullopt;
    toldWriteOk_ = lastWriteOk_;
    return lastWriteOk_;
}

void RuleFileSaver::handOver(const RuleTable& rules) {
    if (keepFile_) return;
    auto copy = std::make_unique<RuleTable>(rules);
    {
        std::lock_guard<std::mutex> hold(lock_);
        queued_ = std::move(copy);  // an older copy not yet taken is superseded
    }
    changed_.notify_all();
}

void RuleFileSaver::writerLoop() {
    std::unique_lock<std::mutex> hold(lock_);
    for (;;) {
        changed_.wait(hold, [this] { return queued_ || stopping_; });
        if (!queued_) return;  // stopping with nothing left to write
        std::unique_ptr<RuleTable> table = std::move(queued_);
        writing_ = true;
        const bool keepAside = keepAsideFirst_;
        hold.unlock();
        // A file that cannot be kept aside is not written over; the next save tries again.
        const bool kept = !keepAside || keepUnreadableRuleFile(folder_);
        const bool ok = kept && saveRules(folder_, *table);
        hold.lock();
        if (kept && keepAside) keepAsideFirst_ = false;
        writing_ = false;
        lastWriteOk_ = ok;
        changed_.notify_all();
    }
}

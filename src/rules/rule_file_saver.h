#pragma once
// Writes Stock_Config.xml away from the monitor: a save hands a copy of the table to a writer
// thread and returns, the newest copy handed over is the one written, and saves that only moved
// highs are spaced out (on a rising market they come every cycle).
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "rules/stock_rule.h"

class RuleFileSaver {
public:
    static constexpr uint32_t kHighsSpacingMs = 10000;

    // `folder` ends with a separator.
    explicit RuleFileSaver(std::wstring folder);
    ~RuleFileSaver();  // what was handed over is written before the writer ends
    RuleFileSaver(const RuleFileSaver&) = delete;
    RuleFileSaver& operator=(const RuleFileSaver&) = delete;

    // A rule edit, a trigger, an armed trailing stop: written at once.
    void saveNow(const RuleTable& rules, uint32_t nowMs);
    // Only highs moved: written at once when the last save is 10 s old, else kept for tick().
    void highsMoved(const RuleTable& rules, uint32_t nowMs);
    // Highs kept back are written once 10 s have passed since the last save.
    void tick(const RuleTable& rules, uint32_t nowMs);
    bool highsWaiting() const { return highsWaiting_; }
    // The file that is there could not be read: nothing is written over it until the user
    // changes a rule (userChanged), and that first save keeps it beside the new one.
    void keepUnreadableFile() { keepFile_ = true; }
    // The user's own change of a rule: written at once, also over a file that could not be read.
    void userChanged(const RuleTable& rules, uint32_t nowMs);
    // Exit and the end of the session: writes `rules` and returns once the file holds them.
    bool saveAndWait(const RuleTable& rules);
    // Returns once everything handed over so far is on disk.
    void waitUntilWritten();
    // Whether writes work, told only when that changed since the last call: a file that stopped
    // taking the saves (locked, a full disk) must not lose the investor's edits unsaid.
    std::optional<bool> takeWriteOutcomeChange();

private:
    void handOver(const RuleTable& rules);
    void writerLoop();

    const std::wstring folder_;
    // Touched on the caller's thread only.
    bool saved_ = false;
    bool keepFile_ = false;
    uint32_t lastSaveMs_ = 0;
    bool highsWaiting_ = false;
    bool toldWriteOk_ = true;

    std::mutex lock_;
    std::condition_variable changed_;
    std::unique_ptr<RuleTable> queued_;
    bool writing_ = false;
    bool stopping_ = false;
    bool lastWriteOk_ = true;
    bool keepAsideFirst_ = false;  // the unreadable file is kept aside before the next write
    std::thread writer_;
};

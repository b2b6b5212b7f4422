#pragma once
// A command of the investor carried out in steps from the main window's timer (全平, 全撤): the
// window stays responsive, shows statusText() meanwhile and summaryText() at the end. Each
// starts from a read of the client's list made after the press, never from an older one.
#include <cstdint>
#include <string>

class OrderExecutor;

class CommandRun {
public:
    virtual ~CommandRun() = default;
    // One piece of work; false once the command is over.
    virtual bool step(OrderExecutor& executor) = 0;
    virtual std::wstring statusText() const = 0;
    virtual std::wstring summaryText() const = 0;
};

// Waits for the store's count of reads of a list to move past the one seen at the press. The
// executor spaces its reads (3 s), so a read is asked for at every step until one is stored.
class ReadAfterPress {
public:
    // About 10 s of steps: a client that gives no read in that time is not read.
    static constexpr int kMostSteps = 20;

    explicit ReadAfterPress(uint64_t readsAtPress) : readsAtPress_(readsAtPress) {}
    bool done(uint64_t readsNow) const { return readsNow != readsAtPress_; }
    // Counts one more step of waiting; false once the wait is given up.
    bool keepWaiting() { return ++steps_ < kMostSteps; }

private:
    uint64_t readsAtPress_;
    int steps_ = 0;
};

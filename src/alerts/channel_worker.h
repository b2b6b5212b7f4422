#pragma once
// One alert channel's worker: sends run one after the other, in the order they were posted, on
// a thread of its own, so two alerts never type into the same messenger fields at once. The
// caller never waits. A more urgent send goes before the less urgent ones waiting, and a paced
// worker sends no more than its limit within its window. The queue is bounded: beyond its
// capacity the oldest of the least urgent waiting sends is dropped (and told so). Stopping lets
// the current send finish within a budget; the sends still waiting are dropped.
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>

class ChannelWorker {
public:
    static constexpr std::size_t kDefaultCapacity = 100;

    struct Task {
        std::function<void()> send;
        std::function<void()> dropped;  // run instead of send when the task is dropped
        int urgency = 0;                // higher goes first; in order of posting among equals
    };

    explicit ChannelWorker(std::size_t capacity = kDefaultCapacity);
    ChannelWorker(const ChannelWorker&) = delete;
    ChannelWorker& operator=(const ChannelWorker&) = delete;
    ~ChannelWorker();  // stop with no budget beyond the current send's end

    // At most `limit` sends within any `window` from now on.
    void pace(std::size_t limit, std::chrono::milliseconds window);
    // False (and the task dropped) once stopping has begun.
    bool post(Task task);
    // Asks the thread to end after its current send; the waiting sends are dropped at once.
    void requestStop();
    // True when the thread has ended by the deadline; otherwise it is left to end on its own
    // (it holds only what its tasks captured).
    bool waitStopped(std::chrono::steady_clock::time_point deadline);

private:
    struct State;
    static void run(std::shared_ptr<State> state);

    std::shared_ptr<State> state_;
    bool joined_ = false;
};

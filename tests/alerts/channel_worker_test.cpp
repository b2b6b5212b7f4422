// One channel's worker: sends in order off the caller's thread, a bounded queue that drops the
// oldest, and an end within its budget.
#include "alerts/channel_worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// A send that blocks until the test opens the gate.
struct Gate {
    std::mutex lock;
    std::condition_variable changed;
    bool open = false;
    bool entered = false;
    void pass() {
        std::unique_lock<std::mutex> guard(lock);
        entered = true;
        changed.notify_all();
        changed.wait(guard, [this] { return open; });
    }
    void waitEntered() {
        std::unique_lock<std::mutex> guard(lock);
        changed.wait(guard, [this] { return entered; });
    }
    void release() {
        std::lock_guard<std::mutex> guard(lock);
        open = true;
        changed.notify_all();
    }
};

struct Record {
    std::mutex lock;
    std::vector<int> sent;
    std::vector<int> dropped;
    std::thread::id sender;
};

ChannelWorker::Task task(Record& record, int n, Gate* gate = nullptr) {
    return {[&record, n, gate] {
                if (gate) gate->pass();
                std::lock_guard<std::mutex> guard(record.lock);
                record.sent.push_back(n);
                record.sender = std::this_thread::get_id();
            },
            [&record, n] {
                std::lock_guard<std::mutex> guard(record.lock);
                record.dropped.push_back(n);
            }};
}

TEST(ChannelWorker, SendsInOrderOnItsOwnThreadAndDropsTheOldestBeyondItsCapacity) {
    Record record;
    Gate gate;
    {
        ChannelWorker worker(3);
        ASSERT_TRUE(worker.post(task(record, 0, &gate)));
        gate.waitEntered();  // the first send is running: 1..5 wait, 1 and 2 fall out
        for (int n = 1; n <= 5; ++n) EXPECT_TRUE(worker.post(task(record, n)));
        gate.release();
        for (int i = 0; i < 500; ++i) {
            std::lock_guard<std::mutex> guard(record.lock);
            if (record.sent.size() == 4) break;
            std::this_thread::sleep_for(5ms);
        }
        worker.requestStop();
        EXPECT_TRUE(worker.waitStopped(std::chrono::steady_clock::now() + 5s));
        EXPECT_FALSE(worker.post(task(record, 6)));  // after stopping: dropped at once
    }
    EXPECT_EQ(record.sent, (std::vector<int>{0, 3, 4, 5}));
    EXPECT_EQ(record.dropped, (std::vector<int>{1, 2, 6}));
    EXPECT_NE(record.sender, std::this_thread::get_id());
}

TEST(ChannelWorker, StoppingDropsTheWaitingSendsAndGivesUpOnAHungOneAtTheDeadline) {
    Record record;
    auto gate = std::make_shared<Gate>();
    {
        ChannelWorker worker;
        worker.post({[gate] { gate->pass(); }, nullptr});
        gate->waitEntered();
        worker.post(task(record, 1));
        worker.post(task(record, 2));
        worker.requestStop();
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(worker.waitStopped(start + 200ms));
        EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    }
    gate->release();  // the abandoned send ends on its own thread
    EXPECT_TRUE(record.sent.empty());
    EXPECT_EQ(record.dropped, (std::vector<int>{1, 2}));
}

}  // namespace

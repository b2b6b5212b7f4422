// One channel's worker: sends in order of urgency off the caller's thread, a bounded queue that
// drops the oldest of the least urgent, and a stop that gives up on a hung send at its deadline.
#include "alerts/channel_worker.h"

#include <gtest/gtest.h>

#include <future>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

TEST(ChannelWorker, SendsTheMoreUrgentFirstDropsTheOldestOfTheLeastBeyondItsCapacityAndGivesUpOnAHungSend) {
    std::mutex lock;
    std::vector<int> sent, dropped;
    std::thread::id sender;
    auto task = [&](int n, int urgency = 0) {
        return ChannelWorker::Task{[&, n] {
                                       std::lock_guard<std::mutex> guard(lock);
                                       sent.push_back(n);
                                       sender = std::this_thread::get_id();
                                   },
                                   [&, n] {
                                       std::lock_guard<std::mutex> guard(lock);
                                       dropped.push_back(n);
                                   },
                                   urgency};
    };
    auto entered = std::make_shared<std::promise<void>>();
    auto release = std::make_shared<std::promise<void>>();
    std::shared_future<void> released = release->get_future().share();
    auto block = [entered, released] {
        entered->set_value();
        released.wait();
    };

    ChannelWorker worker(3);
    ASSERT_TRUE(worker.post({block, nullptr}));
    entered->get_future().wait();  // 1..5 wait behind it, the more urgent first: 1 and 4 fall out
    const int urgencies[] = {0, 2, 1, 0, 2};
    for (int n = 1; n <= 5; ++n) EXPECT_TRUE(worker.post(task(n, urgencies[n - 1])));
    release->set_value();
    for (int i = 0; i < 500 &&
                    [&] {
                        std::lock_guard<std::mutex> g(lock);
                        return sent.size() < 3;
                    }();
         ++i)
        std::this_thread::sleep_for(5ms);

    // A send that hangs: the stop drops what waits behind it and gives up at the deadline.
    entered = std::make_shared<std::promise<void>>();
    auto hang = std::make_shared<std::promise<void>>();
    std::shared_future<void> hung = hang->get_future().share();
    worker.post({[entered, hung] {
                     entered->set_value();
                     hung.wait();
                 },
                 nullptr});
    entered->get_future().wait();
    worker.post(task(6));
    worker.requestStop();
    EXPECT_FALSE(worker.post(task(7)));
    EXPECT_FALSE(worker.waitStopped(std::chrono::steady_clock::now() + 200ms));
    hang->set_value();  // the abandoned send ends on its own thread
    EXPECT_TRUE(worker.waitStopped(std::chrono::steady_clock::now() + 5s));
    EXPECT_EQ(sent, (std::vector<int>{2, 5, 3}));
    EXPECT_EQ(dropped, (std::vector<int>{1, 4, 6, 7}));
    EXPECT_NE(sender, std::this_thread::get_id());
}

}  // namespace

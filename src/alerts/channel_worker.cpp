#include "alerts/channel_worker.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>

struct ChannelWorker::State {
    std::mutex lock;
    std::condition_variable changed;
    std::deque<Task> waiting;
    std::size_t capacity = kDefaultCapacity;
    bool stopping = false;
    bool ended = false;
};

ChannelWorker::ChannelWorker(std::size_t capacity) : state_(std::make_shared<State>()) {
    state_->capacity = capacity == 0 ? 1 : capacity;
    std::thread(run, state_).detach();
}

ChannelWorker::~ChannelWorker() {
    requestStop();
    if (!joined_) waitStopped(std::chrono::steady_clock::now());
}

bool ChannelWorker::post(Task task) {
    Task dropped;
    bool accepted = false;
    {
        std::lock_guard<std::mutex> guard(state_->lock);
        if (state_->stopping) {
            dropped = std::move(task);
        } else {
            accepted = true;
            state_->waiting.push_back(std::move(task));
            if (state_->waiting.size() > state_->capacity) {
                dropped = std::move(state_->waiting.front());
                state_->waiting.pop_front();
            }
        }
    }
    state_->changed.notify_all();
    if (dropped.dropped) dropped.dropped();
    return accepted;
}

void ChannelWorker::requestStop() {
    std::deque<Task> dropped;
    {
        std::lock_guard<std::mutex> guard(state_->lock);
        state_->stopping = true;
        dropped.swap(state_->waiting);
    }
    state_->changed.notify_all();
    for (Task& task : dropped) {
        if (task.dropped) task.dropped();
    }
}

bool ChannelWorker::waitStopped(std::chrono::steady_clock::time_point deadline) {
    std::unique_lock<std::mutex> guard(state_->lock);
    joined_ = state_->changed.wait_until(guard, deadline, [this] { return state_->ended; });
    return joined_;
}

void ChannelWorker::run(std::shared_ptr<State> state) {
    std::unique_lock<std::mutex> guard(state->lock);
    for (;;) {
        state->changed.wait(guard, [&] { return state->stopping || !state->waiting.empty(); });
        if (state->stopping) break;
        Task task = std::move(state->waiting.front());
        state->waiting.pop_front();
        guard.unlock();
        if (task.send) task.send();
        guard.lock();
    }
    state->ended = true;
    state->changed.notify_all();
}

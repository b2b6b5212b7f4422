#include "alerts/channel_worker.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "alerts/alert_throttle.h"

namespace {

int64_t steadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

struct ChannelWorker::State {
    std::mutex lock;
    std::condition_variable changed;
    std::deque<Task> waiting;
    std::size_t capacity = kDefaultCapacity;
    std::optional<SendWindow> window;
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

void ChannelWorker::pace(std::size_t limit, std::chrono::milliseconds window) {
    std::lock_guard<std::mutex> guard(state_->lock);
    state_->window.emplace(limit, window.count());
}

bool ChannelWorker::post(Task task) {
    Task dropped;
    bool accepted = false;
    {
        std::lock_guard<std::mutex> guard(state_->lock);
        std::deque<Task>& waiting = state_->waiting;
        if (state_->stopping) {
            dropped = std::move(task);
        } else {
            accepted = true;
            // Kept ordered: the most urgent first, in order of posting among equals.
            const int urgency = task.urgency;
            auto at = std::find_if(waiting.begin(), waiting.end(),
                                   [urgency](const Task& queued) { return queued.urgency < urgency; });
            waiting.insert(at, std::move(task));
            if (waiting.size() > state_->capacity) {
                const int least = waiting.back().urgency;
                auto oldest = std::find_if(waiting.begin(), waiting.end(),
                                           [least](const Task& queued) { return queued.urgency == least; });
                dropped = std::move(*oldest);
                waiting.erase(oldest);
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
        if (state->window) {
            const int64_t wait = state->window->waitMs(steadyMs());
            if (wait > 0) {
                // A more urgent send posted meanwhile is taken first once the window allows.
                state->changed.wait_for(guard, std::chrono::milliseconds(wait),
                                        [&] { return state->stopping; });
                continue;
            }
            state->window->record(steadyMs());
        }
        Task task = std::move(state->waiting.front());
        state->waiting.pop_front();
        guard.unlock();
        if (task.send) task.send();
        guard.lock();
    }
    state->ended = true;
    state->changed.notify_all();
}

#pragma once
// The one object of a process-wide kind. instance() makes it on first use; destroy() is for its
// owner (and for tests that want a fresh one). Both hold the singleton's lock, but the object is
// destroyed after the lock is released, so its destructor may take locks of its own. An object
// its owner never destroyed stays until the process ends: nothing is torn down at exit.
#include <memory>
#include <mutex>
#include <utility>

namespace halyard {

template <typename T>
class Singleton {
public:
    Singleton() = default;
    Singleton(const Singleton&) = delete;
    Singleton& operator=(const Singleton&) = delete;

    // `make` (called under the lock, once per life of the object) gives a std::unique_ptr<T>.
    template <typename Make>
    T* instance(Make&& make) {
        std::lock_guard<std::mutex> guard(lock_);
        if (!object_) object_ = std::forward<Make>(make)();
        return object_.get();
    }

    void destroy() {
        std::unique_ptr<T> doomed;
        {
            std::lock_guard<std::mutex> guard(lock_);
            doomed = std::move(object_);
        }
    }

    // Held while the object is made and taken out; an object may share it for its own work.
    std::mutex& lock() { return lock_; }

private:
    std::mutex lock_;
    std::unique_ptr<T> object_;
};

// The singleton of T, never destroyed itself (see above).
template <typename T>
Singleton<T>& singletonOf() {
    static Singleton<T>* const slot = new Singleton<T>;
    return *slot;
}

}  // namespace halyard

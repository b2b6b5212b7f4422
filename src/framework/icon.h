#pragma once
// Icons loaded from the program's resources, destroyed with their owner.
#include <windows.h>

#include <utility>

namespace halyard {

class UniqueIcon {
public:
    UniqueIcon() = default;
    explicit UniqueIcon(HICON icon) : icon_(icon) {}
    UniqueIcon(const UniqueIcon&) = delete;
    UniqueIcon& operator=(const UniqueIcon&) = delete;
    UniqueIcon(UniqueIcon&& other) noexcept : icon_(std::exchange(other.icon_, nullptr)) {}
    UniqueIcon& operator=(UniqueIcon&& other) noexcept {
        if (this != &other) reset(std::exchange(other.icon_, nullptr));
        return *this;
    }
    ~UniqueIcon() { reset(); }

    HICON get() const { return icon_; }
    explicit operator bool() const { return icon_ != nullptr; }
    void reset(HICON icon = nullptr) {
        if (icon_) DestroyIcon(icon_);
        icon_ = icon;
    }

private:
    HICON icon_ = nullptr;
};

// Icon resource `id` at the given size in pixels (0: the system's size for large icons).
UniqueIcon loadIcon(int id, int size = 0);
UniqueIcon loadSmallIcon(int id);

}  // namespace halyard

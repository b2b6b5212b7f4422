#pragma once
// One owner for every kind of Win32 handle: UniqueResource<Traits> closes its handle with the
// kind's own call when it goes away. A kind's traits give the handle type, the value that means
// "none" and the close call; only the kinds a program uses are compiled into it.
#include <windows.h>

#include <utility>

namespace halyard {

template <typename Traits>
class UniqueResource {
public:
    using Handle = typename Traits::Handle;

    UniqueResource() = default;
    explicit UniqueResource(Handle handle) : handle_(Traits::isValid(handle) ? handle : nullptr) {}
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    ~UniqueResource() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    Handle release() { return std::exchange(handle_, nullptr); }
    void reset(Handle handle = nullptr) {
        if (handle_) Traits::close(handle_);
        handle_ = Traits::isValid(handle) ? handle : nullptr;
    }
    // For calls that hand a new handle back through a pointer: the old one is closed first.
    Handle* receive() {
        reset();
        return &handle_;
    }

private:
    Handle handle_ = nullptr;
};

// Kernel objects (files, threads, processes, events, mutexes); INVALID_HANDLE_VALUE is none.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static bool isValid(Handle handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
    static void close(Handle handle) { CloseHandle(handle); }
};

template <typename H, typename Result, Result (*Close)(H)>
struct SimpleHandleTraits {
    using Handle = H;
    static bool isValid(Handle handle) { return handle != nullptr; }
    static void close(Handle handle) { Close(handle); }
};

inline BOOL destroyIcon(HICON icon) {
    return DestroyIcon(icon);
}
inline BOOL deleteGdiObject(HGDIOBJ object) {
    return DeleteObject(object);
}
inline BOOL deleteFont(HFONT font) {
    return DeleteObject(font);
}
inline BOOL destroyWindow(HWND window) {
    return DestroyWindow(window);
}
inline BOOL destroyMenu(HMENU menu) {
    return DestroyMenu(menu);
}
inline LONG closeKey(HKEY key) {
    return RegCloseKey(key);
}

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueIcon = UniqueResource<SimpleHandleTraits<HICON, BOOL, destroyIcon>>;
using UniqueGdiObject = UniqueResource<SimpleHandleTraits<HGDIOBJ, BOOL, deleteGdiObject>>;
using UniqueFont = UniqueResource<SimpleHandleTraits<HFONT, BOOL, deleteFont>>;
using UniqueWindow = UniqueResource<SimpleHandleTraits<HWND, BOOL, destroyWindow>>;
using UniqueMenu = UniqueResource<SimpleHandleTraits<HMENU, BOOL, destroyMenu>>;
using UniqueKey = UniqueResource<SimpleHandleTraits<HKEY, LONG, closeKey>>;

}  // namespace halyard

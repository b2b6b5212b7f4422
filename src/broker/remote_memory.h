#pragma once
// Memory placed in the broker client's process, and that process opened for it.
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <utility>

#include "common/unique_handle.h"

// Memory committed in another process; released with the owner.
class RemoteBlock {
public:
    RemoteBlock() = default;
    RemoteBlock(HANDLE process, size_t size);
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;
    RemoteBlock(RemoteBlock&& other) noexcept;
    RemoteBlock& operator=(RemoteBlock&& other) noexcept;
    ~RemoteBlock();

    explicit operator bool() const { return address_ != nullptr; }
    uint64_t address() const { return reinterpret_cast<uintptr_t>(address_); }
    size_t size() const { return size_; }
    bool write(size_t offset, const void* data, size_t length) const;
    bool read(size_t offset, void* data, size_t length) const;
    // Gives the block up without freeing it, after a message pointing into it timed out: the
    // client may still answer that message and write into it later. Only the pages holding the
    // given (offset, length) ranges stay committed; the bytes left in the client are returned.
    size_t abandon(std::initializer_list<std::pair<size_t, size_t>> kept);

private:
    void release();

    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    size_t size_ = 0;
};

// Stands in for OpenProcess, so tests can play a client Halyard may not open; null restores it.
using ProcessOpener = HANDLE(WINAPI*)(DWORD access, BOOL inherit, DWORD processId);
void setProcessOpener(ProcessOpener opener);

// The process that owns a window, opened for placing and reading request blocks.
class ClientProcess {
public:
    explicit ClientProcess(HWND window);
    explicit operator bool() const { return static_cast<bool>(handle_); }
    HANDLE handle() const { return handle_.get(); }
    // True when the process reads 32-bit structures (a WoW64 process, or any on 32-bit Windows).
    bool is32Bit() const { return is32Bit_; }
    // True for a 64-bit client seen from a 32-bit Halyard: its addresses do not fit the 32-bit
    // message parameter, so nothing may be placed in it.
    bool tooWide() const { return tooWide_; }

private:
    halyard::UniqueHandle handle_;
    bool is32Bit_ = true;
    bool tooWide_ = false;
};

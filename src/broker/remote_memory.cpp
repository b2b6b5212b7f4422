#include "broker/remote_memory.h"

#include <utility>
#include <vector>

namespace {

constexpr DWORD kProcessAccess =
    PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION;

ProcessOpener processOpener = nullptr;

}  // namespace

void setProcessOpener(ProcessOpener opener) {
    processOpener = opener;
}

RemoteBlock::RemoteBlock(HANDLE process, size_t size) : process_(process), size_(size) {
    address_ = VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    if (!address_) size_ = 0;
}

RemoteBlock::RemoteBlock(RemoteBlock&& other) noexcept
    : process_(other.process_),
      address_(std::exchange(other.address_, nullptr)),
      size_(std::exchange(other.size_, 0)) {}

RemoteBlock& RemoteBlock::operator=(RemoteBlock&& other) noexcept {
    if (this != &other) {
        release();
        process_ = other.process_;
        address_ = std::exchange(other.address_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

RemoteBlock::~RemoteBlock() {
    release();
}

void RemoteBlock::release() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    address_ = nullptr;
    size_ = 0;
}

size_t RemoteBlock::abandon(std::initializer_list<std::pair<size_t, size_t>> kept) {
    if (!address_) return 0;
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    const size_t page = system.dwPageSize ? system.dwPageSize : 4096;
    const size_t pages = (size_ + page - 1) / page;
    std::vector<bool> keep(pages);
    for (const auto& [offset, length] : kept)
        for (size_t p = offset / page; p < pages && p * page < offset + length; ++p) keep[p] = true;
    size_t left = 0;
    for (size_t p = 0; p < pages; ++p) {
        if (keep[p])
            left += page;
        else
            VirtualFreeEx(process_, static_cast<uint8_t*>(address_) + p * page, page, MEM_DECOMMIT);
    }
    address_ = nullptr;
    size_ = 0;
    return left;
}

bool RemoteBlock::write(size_t offset, const void* data, size_t length) const {
    if (!address_ || offset + length > size_) return false;
    SIZE_T done = 0;
    return WriteProcessMemory(process_, static_cast<uint8_t*>(address_) + offset, data, length, &done) &&
           done == length;
}

bool RemoteBlock::read(size_t offset, void* data, size_t length) const {
    if (!address_ || offset + length > size_) return false;
    SIZE_T done = 0;
    return ReadProcessMemory(process_, static_cast<uint8_t*>(address_) + offset, data, length, &done) &&
           done == length;
}

ClientProcess::ClientProcess(HWND window) {
    DWORD processId = 0;
    if (!window || !GetWindowThreadProcessId(window, &processId) || processId == 0) return;
    handle_.reset(processOpener ? processOpener(kProcessAccess, FALSE, processId)
                                : OpenProcess(kProcessAccess, FALSE, processId));
    if (!handle_) return;
    BOOL clientIsWow64 = FALSE;
    IsWow64Process(handle_.get(), &clientIsWow64);
#ifdef _WIN64
    is32Bit_ = clientIsWow64 != FALSE;
#else
    BOOL selfIsWow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &selfIsWow64);
    is32Bit_ = !selfIsWow64 || clientIsWow64;
    tooWide_ = !is32Bit_;
#endif
}

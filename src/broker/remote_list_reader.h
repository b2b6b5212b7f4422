#pragma once
// Reading the broker client's list views across the process boundary: request structures and
// text buffers are placed in the client's memory, the list fills them, and they are copied back.
// The structures take the layout of the client process (32-bit for a WoW64 client), and many
// cells share one remote block: one write places every request, one read brings every text back.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "broker/position_snapshot_store.h"
#include "brokerconfig/broker_config.h"
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

private:
    void release();

    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    size_t size_ = 0;
};

// A table read has a ceiling no real account reaches: at most kMaxTableRows rows, and no new
// batch of cells is started after kMaxTableReadMs. Beyond it the read keeps the rows it has.
// (A list that claims 100 000 rows would otherwise cost close to a million blocking messages.)
// 500 positions read in about 1 s under Wine here, and in 3 s on a machine loaded with builds.
constexpr int kMaxTableRows = 2000;
constexpr DWORD kMaxTableReadMs = 5000;

// How a table read ended: no table at all (the list is gone, the client cannot be opened or
// stopped answering), the whole table, or the rows up to the ceiling.
enum class TableRead { NotATable, Whole, Cut };

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

private:
    halyard::UniqueHandle handle_;
    bool is32Bit_ = true;
};

// One cell of a list: row index and sub-item index; a sub-item of -1 (an own name the
// configuration leaves unmapped) reads as empty text without asking the list.
struct ListCell {
    int row = 0;
    int column = 0;
};

// A list view of the client, opened for a series of reads. Every read gives nothing when the
// list is gone or stopped answering (a timed-out read is an empty read).
class RemoteList {
public:
    explicit RemoteList(HWND list);
    explicit operator bool() const { return list_ && static_cast<bool>(process_); }

    std::optional<int> itemCount();
    // With a budget, no batch starts after it ran out: the texts then cover only the cells
    // before the first one not asked for.
    std::optional<std::vector<std::wstring>> cellTexts(const std::vector<ListCell>& cells,
                                                       DWORD budgetMs = INFINITE);
    // Titles of columns 0 .. count-1. A column the list does not have reads as the title before
    // it, as a buffer the list left untouched would.
    std::optional<std::vector<std::wstring>> columnTitles(int count);
    // The item's rectangle in the list's client coordinates; scrolled into view first if asked.
    std::optional<RECT> itemRect(int item, bool scrollIntoView);
    // First selected item, -1 when none.
    std::optional<int> firstSelectedItem();

private:
    bool reserve(size_t size);

    HWND list_;
    ClientProcess process_;
    RemoteBlock block_;
};

// Rows as the two tables hold them; nothing when the list holds no table (gone, timed out,
// the client's process not opened). `cut` tells whether the ceiling ended the read.
std::optional<PositionRows> readPositionRows(HWND list, const BrokerConfig& config, bool* cut = nullptr);
std::optional<PositionRows> readOrderRows(HWND list, const BrokerConfig& config, bool* cut = nullptr);
// Code and direction of one live row of the orders list; empty when it cannot be read.
std::optional<PositionRow> readOrderRowAt(HWND list, const BrokerConfig& config, int row);

// Read the table and replace the snapshot store's content with it; a list that holds no table
// leaves the store as it was.
TableRead readPositions(HWND list, const BrokerConfig& config);
TableRead readOrders(HWND list, const BrokerConfig& config);

std::vector<std::wstring> readColumnTitles(HWND list);
std::vector<std::wstring> listTitlesOf(HWND window);
HWND listHasExactColumns(HWND window, const std::vector<std::wstring>& expected);
bool containsAllTitles(const std::vector<std::wstring>& required, const std::vector<std::wstring>& titles);
bool isPositionsPanel(HWND window);
bool isOrdersPanel(HWND window);
int32_t listRowHeight(HWND list);

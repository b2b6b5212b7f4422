#pragma once
// Reading the broker client's list views across the process boundary: request structures and
// text buffers are placed in the client's memory, the list fills them, and they are copied back.
// The structures take the layout of the client process (32-bit for a WoW64 client), and many
// cells share one remote block: one write places every request, one read brings every text back.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "broker/remote_memory.h"

// One cell of a list: row index and sub-item index; a sub-item of -1 (an own name the
// configuration leaves unmapped) reads as empty text without asking the list.
struct ListCell {
    int row = 0;
    int column = 0;
};

// The time a series of reads may take, counted from its start; without a limit by default.
struct ReadBudget {
    DWORD startedTick = GetTickCount();
    DWORD limitMs = INFINITE;
    bool spent() const { return limitMs != INFINITE && GetTickCount() - startedTick >= limitMs; }
};

// A list view of the client, opened for a series of reads. Every read gives nothing when the
// list is gone or stopped answering (a timed-out read is an empty read). A 64-bit client seen
// from a 32-bit Halyard is never read.
class RemoteList {
public:
    explicit RemoteList(HWND list);
    explicit operator bool() const { return list_ && static_cast<bool>(process_) && !process_.tooWide(); }

    std::optional<int> itemCount();
    // No message is sent once the budget is spent (it is checked after every one): the texts
    // then cover only the cells before the first one not asked for.
    std::optional<std::vector<std::wstring>> cellTexts(const std::vector<ListCell>& cells,
                                                       const ReadBudget& budget = ReadBudget());
    // Titles of columns 0 .. count-1. A column the list does not have reads as the title before
    // it, as a buffer the list left untouched would.
    std::optional<std::vector<std::wstring>> columnTitles(int count);
    // The item's rectangle in the list's client coordinates; scrolled into view first if asked.
    std::optional<RECT> itemRect(int item, bool scrollIntoView);
    // First selected item, -1 when none.
    std::optional<int> firstSelectedItem();
    // Bytes of request blocks left in the client because a message pointing into them timed out.
    size_t leftBehind() const { return leftBehind_; }

private:
    bool reserve(size_t size);
    // Sends a message whose parameter points at `request` bytes of the block, the list writing
    // its answer into `answer`; after a timeout the block is left to the client (a fresh one
    // serves the next read).
    std::optional<LRESULT> ask(UINT message, WPARAM wParam, std::pair<size_t, size_t> request,
                               std::pair<size_t, size_t> answer);

    HWND list_;
    ClientProcess process_;
    RemoteBlock block_;
    size_t leftBehind_ = 0;
};

std::vector<std::wstring> readColumnTitles(HWND list);
int32_t listRowHeight(HWND list);

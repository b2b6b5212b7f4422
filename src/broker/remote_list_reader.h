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

#include "broker/remote_memory.h"

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

std::vector<std::wstring> readColumnTitles(HWND list);
int32_t listRowHeight(HWND list);

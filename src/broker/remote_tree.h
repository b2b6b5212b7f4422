#pragma once
// Reading and selecting the items of a tree view (SysTreeView32) in the broker client: the grid
// family's menu. Item requests are placed in the client's memory in its own layout (32-bit for a
// WoW64 client); every message is a timed send, and an unanswered one reads as nothing.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "broker/remote_memory.h"

struct RemoteTreeItem {
    uint64_t handle = 0;  // the client's HTREEITEM
    int depth = 0;        // 0 for a root item
    std::wstring label;
};

class RemoteTree {
public:
    explicit RemoteTree(HWND tree);
    explicit operator bool() const { return tree_ && static_cast<bool>(process_) && !process_.tooWide(); }

    // Every item, depth first in the order the tree shows them; nothing when the tree stopped
    // answering part-way. A tree of more than kMaxItems items or deeper than kMaxDepth is cut there.
    std::optional<std::vector<RemoteTreeItem>> items();
    // Makes the item the tree's selection, as a click would: the client shows its page. False
    // when the tree did not answer or selects something else afterwards.
    bool select(uint64_t item);
    // Bytes left in the client because an item request timed out.
    size_t leftBehind() const { return leftBehind_; }

    static constexpr int kMaxItems = 400;
    static constexpr int kMaxDepth = 8;

private:
    std::optional<uint64_t> next(uint64_t item, WPARAM relation);
    std::optional<std::wstring> label(uint64_t item);
    bool walk(uint64_t first, int depth, std::vector<RemoteTreeItem>& out);

    HWND tree_;
    ClientProcess process_;
    RemoteBlock block_;
    size_t leftBehind_ = 0;
};

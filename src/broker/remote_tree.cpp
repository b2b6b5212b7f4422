#include "broker/remote_tree.h"

#include <commctrl.h>

#include <cstddef>
#include <cstring>

#include "broker/window_toolkit.h"

namespace {

constexpr int kLabelUnits = 260;
constexpr size_t kLabelBytes = kLabelUnits * sizeof(uint16_t);

// TVITEMW as a 32-bit and as a 64-bit tree control reads it.
struct TreeRequest32 {
    uint32_t mask, hItem, state, stateMask, pszText, cchTextMax, iImage, iSelectedImage, cChildren, lParam;
};
struct TreeRequest64 {
    uint32_t mask, pad0;
    uint64_t hItem;
    uint32_t state, stateMask;
    uint64_t pszText;
    uint32_t cchTextMax, iImage, iSelectedImage, cChildren;
    uint64_t lParam;
};
static_assert(sizeof(TreeRequest32) == 40 && sizeof(TreeRequest64) == 56);
#ifdef _WIN64
static_assert(sizeof(TVITEMW) == sizeof(TreeRequest64) &&
              offsetof(TVITEMW, pszText) == offsetof(TreeRequest64, pszText));
#else
static_assert(sizeof(TVITEMW) == sizeof(TreeRequest32) &&
              offsetof(TVITEMW, pszText) == offsetof(TreeRequest32, pszText));
#endif

constexpr size_t kRequestBytes = sizeof(TreeRequest64);
constexpr size_t kBlockBytes = kRequestBytes + kLabelBytes;

template <typename Request>
std::vector<uint8_t> image(const Request& request) {
    std::vector<uint8_t> bytes(kBlockBytes);
    std::memcpy(bytes.data(), &request, sizeof request);
    return bytes;
}

std::vector<uint8_t> labelRequest(bool is32Bit, uint64_t item, uint64_t text) {
    if (is32Bit) {
        TreeRequest32 r{};
        r.mask = TVIF_TEXT, r.hItem = static_cast<uint32_t>(item), r.pszText = static_cast<uint32_t>(text),
        r.cchTextMax = kLabelUnits;
        return image(r);
    }
    TreeRequest64 r{};
    r.mask = TVIF_TEXT, r.hItem = item, r.pszText = text, r.cchTextMax = kLabelUnits;
    return image(r);
}

}  // namespace

RemoteTree::RemoteTree(HWND tree) : tree_(IsWindow(tree) ? tree : nullptr), process_(tree_) {}

std::optional<uint64_t> RemoteTree::next(uint64_t item, WPARAM relation) {
    std::optional<LRESULT> found = sendToWindow(tree_, TVM_GETNEXTITEM, relation, static_cast<LPARAM>(item));
    if (!found) return std::nullopt;
    const auto handle = static_cast<uint64_t>(*found);
    return process_.is32Bit() ? handle & 0xFFFFFFFFu : handle;
}

std::optional<std::wstring> RemoteTree::label(uint64_t item) {
    if (!block_) block_ = RemoteBlock(process_.handle(), kBlockBytes);
    if (!block_) return std::nullopt;
    const uint64_t text = block_.address() + kRequestBytes;
    const std::vector<uint8_t> request = labelRequest(process_.is32Bit(), item, text);
    if (!block_.write(0, request.data(), request.size())) return std::nullopt;
    std::optional<LRESULT> answered =
        sendToWindow(tree_, TVM_GETITEMW, 0, static_cast<LPARAM>(block_.address()));
    if (!answered) {
        // The client may still write the label into the block later.
        if (IsWindow(tree_)) leftBehind_ += block_.abandon({{0, kBlockBytes}});
        return std::nullopt;
    }
    if (!*answered) return std::wstring();
    std::vector<uint16_t> units(kLabelUnits);
    if (!block_.read(kRequestBytes, units.data(), kLabelBytes)) return std::nullopt;
    std::wstring out;
    for (size_t i = 0; i + 1 < units.size() && units[i] != 0; ++i)
        out.push_back(static_cast<wchar_t>(units[i]));
    return out;
}

bool RemoteTree::walk(uint64_t first, int depth, std::vector<RemoteTreeItem>& out) {
    for (uint64_t item = first; item != 0 && out.size() < static_cast<size_t>(kMaxItems);) {
        std::optional<std::wstring> text = label(item);
        if (!text) return false;
        out.push_back({item, depth, std::move(*text)});
        std::optional<uint64_t> child = next(item, TVGN_CHILD);
        if (!child) return false;
        if (*child && depth + 1 < kMaxDepth && !walk(*child, depth + 1, out)) return false;
        std::optional<uint64_t> sibling = next(item, TVGN_NEXT);
        if (!sibling) return false;
        item = *sibling;
    }
    return true;
}

std::optional<std::vector<RemoteTreeItem>> RemoteTree::items() {
    if (!*this) return std::nullopt;
    std::optional<uint64_t> root = next(0, TVGN_ROOT);
    if (!root) return std::nullopt;
    std::vector<RemoteTreeItem> found;
    if (!walk(*root, 0, found)) return std::nullopt;
    return found;
}

bool RemoteTree::select(uint64_t item) {
    if (!*this || item == 0) return false;
    std::optional<LRESULT> done = sendToWindow(tree_, TVM_SELECTITEM, TVGN_CARET, static_cast<LPARAM>(item));
    if (!done || !*done) return false;
    std::optional<uint64_t> selected = next(0, TVGN_CARET);
    return selected && *selected == item;
}

#include "broker/remote_list_reader.h"

#include <commctrl.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

#include "broker/window_toolkit.h"

namespace {

constexpr int kTextUnits = 256;
constexpr size_t kTextBytes = kTextUnits * sizeof(uint16_t);
constexpr size_t kCellsPerBatch = 512;
constexpr size_t kBlockGranularity = 64 * 1024;
constexpr int kMaxColumnTitles = 20;
constexpr int kMaxRows = 100000;

// LVITEMW and LVCOLUMNW as a 32-bit and as a 64-bit list control reads them.
struct ItemRequest32 {
    uint32_t mask, iItem, iSubItem, state, stateMask, pszText, cchTextMax, iImage, lParam, iIndent, iGroupId,
        cColumns, puColumns, piColFmt, iGroup;
};
struct ItemRequest64 {
    uint32_t mask, iItem, iSubItem, state, stateMask, pad0;
    uint64_t pszText;
    uint32_t cchTextMax, iImage;
    uint64_t lParam;
    uint32_t iIndent, iGroupId, cColumns, pad1;
    uint64_t puColumns, piColFmt;
    uint32_t iGroup, pad2;
};
struct ColumnRequest32 {
    uint32_t mask, fmt, cx, pszText, cchTextMax, iSubItem, iImage, iOrder, cxMin, cxDefault, cxIdeal;
};
struct ColumnRequest64 {
    uint32_t mask, fmt, cx, pad0;
    uint64_t pszText;
    uint32_t cchTextMax, iSubItem, iImage, iOrder, cxMin, cxDefault, cxIdeal, pad1;
};
static_assert(sizeof(ItemRequest32) == 60 && sizeof(ColumnRequest32) == 44);
static_assert(sizeof(ItemRequest64) == 88 && sizeof(ColumnRequest64) == 56);
#ifdef _WIN64
static_assert(sizeof(LVITEMW) == sizeof(ItemRequest64) && sizeof(LVCOLUMNW) == sizeof(ColumnRequest64));
static_assert(offsetof(LVITEMW, pszText) == offsetof(ItemRequest64, pszText) &&
              offsetof(LVITEMW, iGroup) == offsetof(ItemRequest64, iGroup));
static_assert(offsetof(LVCOLUMNW, pszText) == offsetof(ColumnRequest64, pszText) &&
              offsetof(LVCOLUMNW, iSubItem) == offsetof(ColumnRequest64, iSubItem));
#else
static_assert(sizeof(LVITEMW) == sizeof(ItemRequest32) && sizeof(LVCOLUMNW) == sizeof(ColumnRequest32));
static_assert(offsetof(LVITEMW, pszText) == offsetof(ItemRequest32, pszText) &&
              offsetof(LVCOLUMNW, iSubItem) == offsetof(ColumnRequest32, iSubItem));
#endif

enum class RequestKind { Item, Column };

size_t requestSize(RequestKind kind, bool is32Bit) {
    if (kind == RequestKind::Item) return is32Bit ? sizeof(ItemRequest32) : sizeof(ItemRequest64);
    return is32Bit ? sizeof(ColumnRequest32) : sizeof(ColumnRequest64);
}

template <typename Request>
void place(uint8_t* out, const Request& request) {
    std::memcpy(out, &request, sizeof request);
}

void encodeRequest(uint8_t* out, RequestKind kind, bool is32Bit, int subItem, uint64_t text) {
    const auto sub = static_cast<uint32_t>(subItem);
    if (kind == RequestKind::Item) {
        if (is32Bit) {
            ItemRequest32 r{};
            r.iSubItem = sub, r.pszText = static_cast<uint32_t>(text), r.cchTextMax = kTextUnits;
            place(out, r);
        } else {
            ItemRequest64 r{};
            r.iSubItem = sub, r.pszText = text, r.cchTextMax = kTextUnits;
            place(out, r);
        }
    } else if (is32Bit) {
        ColumnRequest32 r{};
        r.mask = LVCF_TEXT, r.iSubItem = sub, r.pszText = static_cast<uint32_t>(text),
        r.cchTextMax = kTextUnits;
        place(out, r);
    } else {
        ColumnRequest64 r{};
        r.mask = LVCF_TEXT, r.iSubItem = sub, r.pszText = text, r.cchTextMax = kTextUnits;
        place(out, r);
    }
}

std::wstring textAt(const std::vector<uint8_t>& texts, size_t slot) {
    std::wstring text;
    const uint8_t* p = texts.data() + slot * kTextBytes;
    for (int i = 0; i < kTextUnits - 1; ++i) {
        uint16_t unit;
        std::memcpy(&unit, p + i * sizeof unit, sizeof unit);
        if (unit == 0) break;
        text.push_back(static_cast<wchar_t>(unit));
    }
    return text;
}

}  // namespace

RemoteList::RemoteList(HWND list) : list_(IsWindow(list) ? list : nullptr), process_(list_) {}

bool RemoteList::reserve(size_t size) {
    if (block_ && block_.size() >= size) return true;
    size = (size + kBlockGranularity - 1) / kBlockGranularity * kBlockGranularity;
    block_ = RemoteBlock();
    block_ = RemoteBlock(process_.handle(), size);
    return static_cast<bool>(block_);
}

std::optional<int> RemoteList::itemCount() {
    if (!*this) return std::nullopt;
    std::optional<LRESULT> count = sendToWindow(list_, LVM_GETITEMCOUNT, 0, 0);
    if (!count) return std::nullopt;
    return static_cast<int>(std::clamp<LRESULT>(*count, 0, kMaxRows));
}

std::optional<LRESULT> RemoteList::ask(UINT message, WPARAM wParam, std::pair<size_t, size_t> request,
                                       std::pair<size_t, size_t> answer) {
    std::optional<LRESULT> result =
        sendToWindow(list_, message, wParam, static_cast<LPARAM>(block_.address() + request.first));
    // A list that is gone holds no message; one that is there may answer it later.
    if (!result && IsWindow(list_)) leftBehind_ += block_.abandon({request, answer});
    return result;
}

std::optional<std::vector<std::wstring>> RemoteList::cellTexts(const std::vector<ListCell>& cells,
                                                               const ReadBudget& budget) {
    std::vector<std::wstring> texts(cells.size());
    std::vector<size_t> asked;
    for (size_t i = 0; i < cells.size(); ++i)
        if (cells[i].column >= 0) asked.push_back(i);
    if (asked.empty()) return texts;
    if (!*this) return std::nullopt;

    const size_t stride = requestSize(RequestKind::Item, process_.is32Bit());
    const size_t batch = std::min(asked.size(), kCellsPerBatch);
    std::vector<uint8_t> image(batch * (stride + kTextBytes));
    std::vector<uint8_t> replies(batch * kTextBytes);

    for (size_t first = 0; first < asked.size(); first += batch) {
        if (!reserve(batch * (stride + kTextBytes))) return std::nullopt;
        const uint64_t textBase = block_.address() + batch * stride;
        const size_t count = std::min(batch, asked.size() - first);
        std::fill(image.begin(), image.end(), 0);
        for (size_t slot = 0; slot < count; ++slot)
            encodeRequest(image.data() + slot * stride, RequestKind::Item, process_.is32Bit(),
                          cells[asked[first + slot]].column, textBase + slot * kTextBytes);
        if (!block_.write(0, image.data(), image.size())) return std::nullopt;
        size_t answered = 0;
        bool spent = false;
        while (answered < count && !spent) {
            const ListCell& cell = cells[asked[first + answered]];
            if (!ask(LVM_GETITEMTEXTW, static_cast<WPARAM>(cell.row), {answered * stride, stride},
                     {batch * stride + answered * kTextBytes, kTextBytes}))
                return std::nullopt;
            ++answered;
            spent = budget.spent();
        }
        if (!block_.read(batch * stride, replies.data(), answered * kTextBytes)) return std::nullopt;
        for (size_t slot = 0; slot < answered; ++slot) texts[asked[first + slot]] = textAt(replies, slot);
        if (spent && first + answered < asked.size()) {
            texts.resize(asked[first + answered]);
            break;
        }
    }
    return texts;
}

std::optional<std::vector<std::wstring>> RemoteList::columnTitles(int count) {
    if (!*this) return std::nullopt;
    if (count <= 0) return std::vector<std::wstring>();
    const size_t slots = static_cast<size_t>(count);
    const size_t stride = requestSize(RequestKind::Column, process_.is32Bit());
    if (!reserve(slots * (stride + kTextBytes))) return std::nullopt;
    const uint64_t base = block_.address();
    std::vector<uint8_t> image(slots * (stride + kTextBytes));
    for (size_t slot = 0; slot < slots; ++slot)
        encodeRequest(image.data() + slot * stride, RequestKind::Column, process_.is32Bit(),
                      static_cast<int>(slot), base + slots * stride + slot * kTextBytes);
    if (!block_.write(0, image.data(), image.size())) return std::nullopt;
    std::vector<bool> answered(slots);
    for (size_t slot = 0; slot < slots; ++slot) {
        std::optional<LRESULT> found = ask(LVM_GETCOLUMNW, slot, {slot * stride, stride},
                                           {slots * stride + slot * kTextBytes, kTextBytes});
        if (!found) return std::nullopt;
        answered[slot] = *found != 0;
    }
    std::vector<uint8_t> replies(slots * kTextBytes);
    if (!block_.read(slots * stride, replies.data(), replies.size())) return std::nullopt;
    std::vector<std::wstring> titles(slots);
    for (size_t slot = 0; slot < slots; ++slot)
        titles[slot] = answered[slot] ? textAt(replies, slot) : (slot ? titles[slot - 1] : std::wstring());
    return titles;
}

std::optional<RECT> RemoteList::itemRect(int item, bool scrollIntoView) {
    if (!*this || item < 0) return std::nullopt;
    if (scrollIntoView && !sendToWindow(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), FALSE))
        return std::nullopt;
    if (!reserve(sizeof(RECT))) return std::nullopt;
    RECT rect{LVIR_BOUNDS, 0, 0, 0};
    if (!block_.write(0, &rect, sizeof rect)) return std::nullopt;
    std::optional<LRESULT> found =
        ask(LVM_GETITEMRECT, static_cast<WPARAM>(item), {0, sizeof rect}, {0, sizeof rect});
    if (!found || !*found || !block_.read(0, &rect, sizeof rect)) return std::nullopt;
    return rect;
}

std::optional<int> RemoteList::firstSelectedItem() {
    if (!*this) return std::nullopt;
    std::optional<LRESULT> item =
        sendToWindow(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    if (!item) return std::nullopt;
    return static_cast<int>(*item);
}

std::vector<std::wstring> readColumnTitles(HWND list) {
    RemoteList remote(list);
    std::optional<std::vector<std::wstring>> read = remote.columnTitles(kMaxColumnTitles);
    std::vector<std::wstring> titles;
    if (!read) return titles;
    for (std::wstring& title : *read) {
        if (title.empty() || (!titles.empty() && titles.back() == title)) break;
        titles.push_back(std::move(title));
    }
    return titles;
}

int32_t listRowHeight(HWND list) {
    RemoteList remote(list);
    std::optional<RECT> rect = remote.itemRect(0, false);
    return rect ? rect->bottom - rect->top : 0;
}

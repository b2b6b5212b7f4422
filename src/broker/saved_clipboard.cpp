#include "broker/saved_clipboard.h"

#include <cstring>

namespace {

constexpr int kOpenAttempts = 25;
constexpr DWORD kOpenPauseMs = 10;

enum class FormatKind { Memory, Bitmap, Skipped };

// What a format's handle is: a memory block the system frees, a bitmap, or a handle that cannot
// be duplicated (metafiles, palettes, owner-drawn and private formats).
FormatKind kindOf(UINT format) {
    if (format == CF_BITMAP || format == CF_DSPBITMAP) return FormatKind::Bitmap;
    if (format == CF_METAFILEPICT || format == CF_DSPMETAFILEPICT || format == CF_ENHMETAFILE ||
        format == CF_DSPENHMETAFILE || format == CF_PALETTE || format == CF_OWNERDISPLAY)
        return FormatKind::Skipped;
    if ((format >= CF_PRIVATEFIRST && format <= CF_PRIVATELAST) ||
        (format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST))
        return FormatKind::Skipped;
    return FormatKind::Memory;
}

std::vector<uint8_t> copyMemory(HANDLE data) {
    std::vector<uint8_t> bytes;
    const SIZE_T size = GlobalSize(data);
    const void* source = size ? GlobalLock(data) : nullptr;
    if (!source) return bytes;
    bytes.assign(static_cast<const uint8_t*>(source), static_cast<const uint8_t*>(source) + size);
    GlobalUnlock(data);
    return bytes;
}

bool putMemory(UINT format, const std::vector<uint8_t>& bytes) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    void* target = memory ? GlobalLock(memory) : nullptr;
    if (!target) {
        if (memory) GlobalFree(memory);
        return false;
    }
    std::memcpy(target, bytes.data(), bytes.size());
    GlobalUnlock(memory);
    if (SetClipboardData(format, memory)) return true;
    GlobalFree(memory);
    return false;
}

}  // namespace

OpenedClipboard::OpenedClipboard() {
    for (int i = 0; i < kOpenAttempts && !open_; ++i) {
        open_ = OpenClipboard(nullptr) != FALSE;
        if (!open_) Sleep(kOpenPauseMs);
    }
}

OpenedClipboard::~OpenedClipboard() {
    if (open_) CloseClipboard();
}

bool SavedClipboard::take() {
    formats_.clear();
    OpenedClipboard clipboard;
    if (!clipboard) return false;
    for (UINT id = EnumClipboardFormats(0); id != 0; id = EnumClipboardFormats(id)) {
        const FormatKind kind = kindOf(id);
        if (kind == FormatKind::Skipped) continue;
        HANDLE data = GetClipboardData(id);
        if (!data) continue;
        Format saved;
        saved.id = id;
        if (kind == FormatKind::Bitmap) {
            saved.bitmap.reset(CopyImage(data, IMAGE_BITMAP, 0, 0, 0));
            if (!saved.bitmap) continue;
        } else {
            saved.bytes = copyMemory(data);
            if (saved.bytes.empty()) continue;
        }
        formats_.push_back(std::move(saved));
    }
    return true;
}

bool SavedClipboard::restore() {
    OpenedClipboard clipboard;
    if (!clipboard || !EmptyClipboard()) return false;
    for (Format& format : formats_) {
        if (!format.bitmap) {
            putMemory(format.id, format.bytes);
        } else if (SetClipboardData(format.id, format.bitmap.get())) {
            format.bitmap.release();  // the clipboard owns it now
        }
    }
    return true;
}

std::optional<std::wstring> clipboardUnicodeText() {
    OpenedClipboard clipboard;
    if (!clipboard) return std::nullopt;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const SIZE_T bytes = data ? GlobalSize(data) : 0;
    const auto* chars = bytes ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    if (!chars) return std::nullopt;
    std::wstring text(chars, wcsnlen(chars, bytes / sizeof(wchar_t)));
    GlobalUnlock(data);
    return text;
}

#pragma once
// The investor's clipboard kept across a copy Halyard makes: every format that can be copied is
// taken (texts, bitmaps, any memory-block format) and put back afterwards. The clipboard is open
// only for the moment of each read or write; another program holding it is waited for briefly.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/unique_handle.h"

class OpenedClipboard {
public:
    OpenedClipboard();
    ~OpenedClipboard();
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    explicit operator bool() const { return open_; }

private:
    bool open_ = false;
};

class SavedClipboard {
public:
    // False when the clipboard stayed held by another program.
    bool take();
    // Empties the clipboard and puts the saved content back; false when it could not be opened.
    bool restore();
    size_t formatCount() const { return formats_.size(); }

private:
    struct Format {
        UINT id = 0;
        std::vector<uint8_t> bytes;
        halyard::UniqueGdiObject bitmap;
    };
    std::vector<Format> formats_;
};

// The clipboard's Unicode text; nothing when it could not be opened or holds no text.
std::optional<std::wstring> clipboardUnicodeText();

#pragma once
// Whole-file reads and crash-safe replacement of the program's data files.
#include <string>

namespace halyard {

// False when the file cannot be opened or read.
bool readWholeFile(const std::wstring& path, std::string& bytes);

// Writes the bytes to a temporary file in the same folder, flushes it to disk and moves it
// over `path` in one step. On failure the previous file is left as it was.
bool replaceFileAtomically(const std::wstring& path, const std::string& bytes);

// The line ends a text-mode write gives on this system: CR LF on Windows, LF elsewhere.
std::string withPlatformLineEnds(const std::string& text);

// Folder of a path including its trailing separator ("" when it has none).
std::wstring folderOf(const std::wstring& path);

}  // namespace halyard

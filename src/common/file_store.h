#pragma once
// Whole-file reads and crash-safe replacement of the program's data files.
#include <string>

namespace halyard {

// False when the file cannot be opened or read.
bool readWholeFile(const std::wstring& path, std::string& bytes);

// Whether something is at `path`, also a file another program holds open.
bool fileExists(const std::wstring& path);

enum class FileRead { Read, Missing, Unreadable };
// readWholeFile that tells a file that is not there from one that is there and cannot be read.
FileRead readDataFile(const std::wstring& path, std::string& bytes);

// Keeps the file at `path` as `keptPath` (replacing an older one there), so that `path` can be
// written anew without losing it: copied when it can be read, else moved. True when nothing is
// at `path`; false leaves `path` as it was.
bool keepFileAside(const std::wstring& path, const std::wstring& keptPath);

// Writes the bytes to a temporary file in the same folder, flushes it to disk and moves it
// over `path` in one step. On failure the previous file is left as it was.
bool replaceFileAtomically(const std::wstring& path, const std::string& bytes);

// Renames `from` to `to`, replacing a file there.
bool moveFileReplacing(const std::wstring& from, const std::wstring& to);

// The line ends a text-mode write gives on this system: CR LF on Windows, LF elsewhere.
std::string withPlatformLineEnds(const std::string& text);

// Folder of a path including its trailing separator ("" when it has none).
std::wstring folderOf(const std::wstring& path);

}  // namespace halyard

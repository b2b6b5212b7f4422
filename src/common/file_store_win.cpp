#include <windows.h>

#include "common/file_store.h"
#include "common/unique_handle.h"

namespace halyard {

bool readWholeFile(const std::wstring& path, std::string& bytes) {
    // An editor holding the file open for writing must not make the rules read as absent.
    constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 256 * 1024 * 1024) return false;
    std::string content(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!content.empty() &&
        (!ReadFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr) ||
         read != content.size()))
        return false;
    bytes = std::move(content);
    return true;
}

bool fileExists(const std::wstring& path) {
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    const DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

bool moveFileReplacing(const std::wstring& from, const std::wstring& to) {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool replaceFileAtomically(const std::wstring& path, const std::string& bytes) {
    const std::wstring temp = path + L".tmp" + std::to_wstring(GetCurrentProcessId());
    {
        UniqueHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        DWORD written = 0;
        const bool ok = (bytes.empty() || WriteFile(file.get(), bytes.data(),
                                                    static_cast<DWORD>(bytes.size()), &written, nullptr)) &&
                        written == bytes.size() && FlushFileBuffers(file.get());
        if (!ok) {
            file.reset();
            DeleteFileW(temp.c_str());
            return false;
        }
    }
    if (MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temp.c_str());
    return false;
}

}  // namespace halyard

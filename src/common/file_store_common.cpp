#include "common/file_store.h"

namespace halyard {

FileRead readDataFile(const std::wstring& path, std::string& bytes) {
    if (readWholeFile(path, bytes)) return FileRead::Read;
    return fileExists(path) ? FileRead::Unreadable : FileRead::Missing;
}

bool keepFileAside(const std::wstring& path, const std::wstring& keptPath) {
    std::string bytes;
    switch (readDataFile(path, bytes)) {
        case FileRead::Missing:
            return true;
        case FileRead::Read:
            return replaceFileAtomically(keptPath, bytes);
        case FileRead::Unreadable:
            break;
    }
    return moveFileReplacing(path, keptPath);
}

std::string withPlatformLineEnds(const std::string& text) {
#ifdef _WIN32
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') out.push_back('\r');
        out.push_back(c);
    }
    return out;
#else
    return text;
#endif
}

std::wstring folderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

}  // namespace halyard

#include "common/file_store.h"

namespace halyard {

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

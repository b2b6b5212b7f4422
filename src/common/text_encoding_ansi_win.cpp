#include <windows.h>

#include "common/text_encoding.h"

namespace halyard {

std::wstring fromAnsi(const std::string& bytes) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring out(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, out.data(), length);
    return out;
}

}  // namespace halyard

#include "common/text_encoding.h"

namespace halyard {

std::wstring fromAnsi(const std::string& bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes) out.push_back(static_cast<wchar_t>(c));
    return out;
}

}  // namespace halyard

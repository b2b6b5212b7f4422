#include "common/xml_trouble.h"

#include <tinyxml2.h>

#include "common/c_format.h"
#include "common/text_encoding.h"

namespace halyard {

const wchar_t kFileNotReadable[] = L"文件打不开或读不出 (可能正被其他程序占用)";

std::wstring xmlTroubleText(const tinyxml2::XMLDocument& document) {
    if (document.ErrorID() == tinyxml2::XML_ERROR_EMPTY_DOCUMENT) return L"文件是空的";
    if (!document.Error()) return L"文件中没有 XML 元素";
    return L"XML 格式错误: 第 " + wcformat("%d", document.ErrorLineNum()) + L" 行 (" +
           fromUtf8(document.ErrorName()) + L")";
}

}  // namespace halyard

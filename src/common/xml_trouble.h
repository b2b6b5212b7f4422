#pragma once
// Why a data file of the program that is there could not be taken, in the investor's words.
#include <string>

namespace tinyxml2 {
class XMLDocument;
}

namespace halyard {

extern const wchar_t kFileNotReadable[];

// A document that did not parse or holds no element: empty, or the line of the first fault.
std::wstring xmlTroubleText(const tinyxml2::XMLDocument& document);

}  // namespace halyard

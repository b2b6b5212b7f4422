#pragma once
// The main window's 帮助 link: opens Halyard帮助.doc from the program's own folder, whatever
// folder the program was started in, and says so when the document is missing or will not open.
#include <string>

#include "framework/link_ctrl.h"

class HelpLink : public halyard::LinkCtrl {
public:
    static constexpr const wchar_t* kDocumentName = L"Halyard帮助.doc";
    // `folder` ends with a separator (the executable's folder in the program).
    void setFolder(const std::wstring& folder) { setTarget(folder + kDocumentName); }

protected:
    void openTarget() override;
};

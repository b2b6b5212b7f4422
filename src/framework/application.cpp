#include "framework/application.h"

#include <commctrl.h>

namespace halyard {

bool initCommonControls() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES;
    return InitCommonControlsEx(&controls) != FALSE;
}

int Application::run() {
    initCommonControls();
    return initInstance();
}

HINSTANCE Application::resourceInstance() {
    return GetModuleHandleW(nullptr);
}

}  // namespace halyard

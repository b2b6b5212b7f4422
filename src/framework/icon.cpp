#include "framework/icon.h"

#include "framework/application.h"

namespace halyard {

UniqueIcon loadIcon(int id, int size) {
    int width = size > 0 ? size : GetSystemMetrics(SM_CXICON);
    int height = size > 0 ? size : GetSystemMetrics(SM_CYICON);
    return UniqueIcon(static_cast<HICON>(
        LoadImageW(Application::resourceInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON, width, height, 0)));
}

UniqueIcon loadSmallIcon(int id) {
    return loadIcon(id, GetSystemMetrics(SM_CXSMICON));
}

}  // namespace halyard

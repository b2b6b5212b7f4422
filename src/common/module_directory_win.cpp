#include <windows.h>

#include "common/file_store.h"
#include "common/module_directory.h"

namespace halyard {

std::wstring moduleDirectory() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return folderOf(std::wstring(path, length));
}

}  // namespace halyard

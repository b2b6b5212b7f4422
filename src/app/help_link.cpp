#include "app/help_link.h"

#include <windows.h>

#include <shellapi.h>

#include "framework/message_box.h"

void HelpLink::openTarget() {
    const std::wstring& path = target();
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        halyard::showMessageBox(
            parent(), L"找不到帮助文件:\n" + path + L"\n它应该在 Halyard.exe 所在的文件夹里。", MB_OK);
        return;
    }
    const auto opened = reinterpret_cast<INT_PTR>(
        ShellExecuteW(parent(), L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (opened <= 32)
        halyard::showMessageBox(
            parent(), L"无法打开帮助文件:\n" + path + L"\n打开 .doc 文件需要 Word、WPS 或 LibreOffice。",
            MB_OK);
}

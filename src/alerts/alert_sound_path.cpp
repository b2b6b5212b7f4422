#include "alerts/alert_sound_path.h"

std::wstring alertSoundPath(const std::wstring& file, const std::wstring& moduleDirectory) {
    if (file.find(L'\\') != std::wstring::npos) return file;
    return moduleDirectory + L"OrderSound\\" + file;
}

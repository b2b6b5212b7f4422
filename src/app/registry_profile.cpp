#include "app/registry_profile.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "common/unique_handle.h"

namespace {

const wchar_t kCompanyKey[] = L"Software\\应用程序向导生成的本地应用程序\\";
const wchar_t kSection[] = L"\\Monitor";

bool openForReading(const std::wstring& path, halyard::UniqueKey& key) {
    return RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.receive()) == ERROR_SUCCESS && key;
}

bool openForWriting(const std::wstring& path, halyard::UniqueKey& key) {
    return RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                           nullptr, key.receive(), nullptr) == ERROR_SUCCESS &&
           key;
}

}  // namespace

RegistryProfile::RegistryProfile(std::wstring applicationName)
    : path(kCompanyKey + std::move(applicationName) + kSection) {}

std::wstring RegistryProfile::executableApplicationName() {
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    DWORD length = 0;
    for (;;) {
        length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size() || buffer.size() >= 32768) break;  // equal: truncated
        buffer.resize(buffer.size() * 2);
    }
    std::wstring name(buffer.data(), length);
    const size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    const size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos && dot > 0) name.erase(dot);
    return name;
}

int RegistryProfile::readInt(const wchar_t* name, int defaultValue) {
    halyard::UniqueKey key;
    if (!openForReading(path, key)) return defaultValue;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(value))
        return defaultValue;
    return static_cast<int>(value);
}

std::wstring RegistryProfile::readString(const wchar_t* name, const std::wstring& defaultValue) {
    halyard::UniqueKey key;
    if (!openForReading(path, key)) return defaultValue;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
        return defaultValue;
    // The value may grow between the two queries; ask again with the size it reports.
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::vector<wchar_t> text((size + 1) / sizeof(wchar_t) + 1, L'\0');
        DWORD bytes = static_cast<DWORD>((text.size() - 1) * sizeof(wchar_t));
        const LONG status =
            RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &bytes);
        if (status == ERROR_MORE_DATA) {
            size = bytes;
            continue;
        }
        if (status != ERROR_SUCCESS || type != REG_SZ) return defaultValue;
        // The stored text may lack its terminator or hold more than one.
        return std::wstring(text.data(), wcsnlen(text.data(), bytes / sizeof(wchar_t)));
    }
    return defaultValue;
}

void RegistryProfile::writeInt(const wchar_t* name, int value) {
    halyard::UniqueKey key;
    if (!openForWriting(path, key)) return;
    const DWORD data = static_cast<DWORD>(value);
    RegSetValueExW(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data));
}

void RegistryProfile::writeString(const wchar_t* name, const std::wstring& value) {
    halyard::UniqueKey key;
    if (!openForWriting(path, key)) return;
    RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

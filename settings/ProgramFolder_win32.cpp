#include "SettingsFiles.h"

#include <windows.h>

namespace orvo::settings {

std::filesystem::path ProgramFolder() {
    // A path of Windows may be some 32767 characters long.
    for (DWORD size = MAX_PATH; size <= 65536; size *= 2) {
        std::wstring name(size, L'\0');
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), size);
        if (length == 0) {
            return {};
        }
        if (length < size) {
            name.resize(length);
            return std::filesystem::path(name).parent_path();
        }
    }
    return {};
}

}  // namespace orvo::settings

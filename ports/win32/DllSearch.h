#pragma once
// Where a program of the product looks for a DLL it loads at run time: its own folder and
// System32, never the current directory, which in the installed layout is the data folder every
// user may write in. Called first thing by the tool's and orvo's main. The DLLs of the import
// table are found before it runs, from the program's folder first.
#include <windows.h>

#include <string>

namespace orvo {

// SetDefaultDllDirectories where the system has it (Windows 8 and later, Windows 7 with update
// KB2533623); elsewhere at least the current directory leaves the search. False when neither
// call took.
inline bool RestrictDllSearch() {
    using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto setDefault = reinterpret_cast<SetDefaultDirectories>(reinterpret_cast<void*>(
        kernel != nullptr ? GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr));
    // The two flags of LOAD_LIBRARY_SEARCH_APPLICATION_DIR and LOAD_LIBRARY_SEARCH_SYSTEM32,
    // which the headers declare for Windows 8 only.
    constexpr DWORD kApplicationDir = 0x00000200;
    constexpr DWORD kSystem32 = 0x00000800;
    if (setDefault != nullptr && setDefault(kApplicationDir | kSystem32) != 0) {
        return true;
    }
    return SetDllDirectoryW(L"") != 0;
}

// `file` in the folder of the running program, in the ANSI code page of the programs that take
// their arguments in it: the full path a tool loads a DLL of the product by, so that no other
// folder is searched.
inline std::string PathBesideProgram(const std::string& file) {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return file;
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of("\\/") + 1) + file;
}

}  // namespace orvo

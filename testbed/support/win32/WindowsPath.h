#pragma once
// Where a test finds the programs and DLLs it uses: build outputs are named by their Unix
// paths, which under Wine are found below drive Z:, or sit beside the test program itself.
#include "win32/DllSearch.h"

#include <windows.h>

#include <string>

namespace orvo::testing {

inline std::string WindowsPath(std::string path) {
    if (path.empty() || path[0] != '/') {
        return path;
    }
    for (char& c : path) {
        c = c == '/' ? '\\' : c;
    }
    return "Z:" + path;
}

// The file `name` in the folder of the running program.
inline std::string BesideThisProgram(const std::string& name) {
    return PathBesideProgram(name);
}

}  // namespace orvo::testing

#pragma once
// Where a test finds the programs and DLLs it uses: build outputs are named by their Unix
// paths, which under Wine are found below drive Z:, or sit beside the test program itself.
#include <windows.h>

#include <string>
#include <vector>

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
    std::vector<char> path(MAX_PATH);
    DWORD length = 0;
    while ((length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
           path.size()) {
        path.resize(path.size() * 2);
    }
    const std::string program(path.data(), length);
    return program.substr(0, program.find_last_of("\\/") + 1) + name;
}

}  // namespace orvo::testing

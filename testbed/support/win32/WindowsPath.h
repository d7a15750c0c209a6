#pragma once
// Build outputs are named by their Unix paths; under Wine those are found below drive Z:.
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

}  // namespace orvo::testing

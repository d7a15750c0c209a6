#pragma once
// Pyxol.dll loaded the way outside callers load it, with its exports looked up by name.
#include "Pyxol.h"

#include <windows.h>

namespace orvo::procutil {

class PyxolLibrary {
public:
    // `path` as LoadLibrary takes it; the programs of the product give a full path, since a bare
    // file name would be searched for in the current directory and along PATH too.
    explicit PyxolLibrary(const char* path);
    ~PyxolLibrary();
    PyxolLibrary(const PyxolLibrary&) = delete;
    PyxolLibrary& operator=(const PyxolLibrary&) = delete;

    bool IsLoaded() const { return module_ != nullptr; }
    HMODULE Module() const { return module_; }
    // The export of that name, or null when the library or the export is missing.
    PyxolFunction Find(const char* exportName) const;

private:
    HMODULE module_;
};

}  // namespace orvo::procutil

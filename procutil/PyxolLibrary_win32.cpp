#include "PyxolLibrary_win32.h"

namespace orvo::procutil {

PyxolLibrary::PyxolLibrary(const char* path) : module_(LoadLibraryA(path)) {}

PyxolLibrary::~PyxolLibrary() {
    if (module_ != nullptr) {
        FreeLibrary(module_);
    }
}

PyxolFunction PyxolLibrary::Find(const char* exportName) const {
    if (module_ == nullptr) {
        return nullptr;
    }
    // Through void*: GetProcAddress's own pointer type says nothing of the real signature.
    return reinterpret_cast<PyxolFunction>(
        reinterpret_cast<void*>(GetProcAddress(module_, exportName)));
}

}  // namespace orvo::procutil

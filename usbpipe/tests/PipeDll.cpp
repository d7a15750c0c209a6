#include "PipeDll.h"

namespace orvo::usbpipe::testing {

PipeDll::PipeDll(const std::string& path, const std::string& prefix)
    : module_(LoadLibraryA(path.c_str())) {
    if (module_ != nullptr) {
        read = reinterpret_cast<PipeCall>(
            reinterpret_cast<void*>(GetProcAddress(module_, (prefix + "ReadData").c_str())));
        write = reinterpret_cast<PipeCall>(
            reinterpret_cast<void*>(GetProcAddress(module_, (prefix + "WriteData").c_str())));
    }
}

PipeDll::~PipeDll() {
    if (module_ != nullptr) {
        FreeLibrary(module_);
    }
}

std::vector<std::string> PipeDll::ExportNames() const {
    const auto* base = reinterpret_cast<const unsigned char*>(module_);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& entry =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    std::vector<std::string> names;
    if (entry.Size == 0) {
        return names;
    }
    const auto* directory =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
    const auto* nameOffsets = reinterpret_cast<const DWORD*>(base + directory->AddressOfNames);
    for (DWORD i = 0; i < directory->NumberOfNames; ++i) {
        names.emplace_back(reinterpret_cast<const char*>(base + nameOffsets[i]));
    }
    // Exports by number alone would have no name above; count them in as empty names.
    names.resize(std::max<std::size_t>(names.size(), directory->NumberOfFunctions));
    return names;
}

}  // namespace orvo::usbpipe::testing

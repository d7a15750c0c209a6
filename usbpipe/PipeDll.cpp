#include "PipeDll.h"

#include <algorithm>

namespace orvo::usbpipe {

PipeDll::PipeDll(const std::string& nameOrPath) : module_(LoadLibraryA(nameOrPath.c_str())) {
    if (module_ == nullptr) {
        return;
    }
    for (const char* prefix : {"qxUSB_", "qxUSBAdv_"}) {
        read = Find(std::string(prefix) + "ReadData");
        write = Find(std::string(prefix) + "WriteData");
        if (HasCalls()) {
            return;
        }
    }
}

PipeDll::~PipeDll() {
    if (module_ != nullptr) {
        FreeLibrary(module_);
    }
}

PipeCall PipeDll::Find(const std::string& name) const {
    return reinterpret_cast<PipeCall>(
        reinterpret_cast<void*>(GetProcAddress(module_, name.c_str())));
}

std::vector<std::string> PipeDll::ExportNames() const {
    std::vector<std::string> names;
    if (module_ == nullptr) {
        return names;
    }
    const auto* base = reinterpret_cast<const unsigned char*>(module_);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& entry =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (entry.Size == 0) {
        return names;
    }
    const auto* directory =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
    const auto* nameOffsets = reinterpret_cast<const DWORD*>(base + directory->AddressOfNames);
    for (DWORD i = 0; i < directory->NumberOfNames; ++i) {
        names.emplace_back(reinterpret_cast<const char*>(base + nameOffsets[i]));
    }
    names.resize(std::max<std::size_t>(names.size(), directory->NumberOfFunctions));
    return names;
}

}  // namespace orvo::usbpipe

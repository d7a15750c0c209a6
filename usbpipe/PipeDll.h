#pragma once
// One of the two pipe DLLs, loaded by name or path for as long as this object lives, with its
// read and write calls, whichever of the two export prefixes it has (qxUSB_ or qxUSBAdv_).
#include <windows.h>

#include <string>
#include <vector>

namespace orvo::usbpipe {

using PipeCall = int (*)(int pipe, unsigned char* data, int length, int timeoutMs);

class PipeDll {
public:
    explicit PipeDll(const std::string& nameOrPath);
    ~PipeDll();
    PipeDll(const PipeDll&) = delete;
    PipeDll& operator=(const PipeDll&) = delete;

    bool IsLoaded() const { return module_ != nullptr; }
    bool HasCalls() const { return read != nullptr && write != nullptr; }
    // The names in the DLL's export directory; an export by number alone counts as "".
    std::vector<std::string> ExportNames() const;

    PipeCall read = nullptr;
    PipeCall write = nullptr;

private:
    PipeCall Find(const std::string& name) const;

    HMODULE module_;
};

}  // namespace orvo::usbpipe

#pragma once
// One of the two pipe DLLs, loaded by path for as long as this object lives, with its two calls.
#include <windows.h>

#include <string>
#include <vector>

namespace orvo::usbpipe::testing {

using PipeCall = int (*)(int pipe, unsigned char* data, int length, int timeoutMs);

class PipeDll {
  public:
    // `prefix` of the export names: "qxUSB_" or "qxUSBAdv_".
    PipeDll(const std::string& path, const std::string& prefix);
    ~PipeDll();
    PipeDll(const PipeDll&) = delete;
    PipeDll& operator=(const PipeDll&) = delete;

    bool IsLoaded() const { return module_ != nullptr; }
    // The names in the DLL's export directory.
    std::vector<std::string> ExportNames() const;

    PipeCall read = nullptr;
    PipeCall write = nullptr;

  private:
    HMODULE module_;
};

}  // namespace orvo::usbpipe::testing

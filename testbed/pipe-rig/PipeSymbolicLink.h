#pragma once
// A symbolic link from the device path to the named-pipe device, so that
// <device path>\PIPEnn opens the named pipe \\.\pipe\PIPEnn. The link lives while this object
// keeps its handle.
#include <string>

#include "win32/KernelHandle.h"

namespace orvo::piperig {

class PipeSymbolicLink {
  public:
    // `devicePath` as the setup API reports it, starting with \\?\.
    bool Create(const std::string& devicePath);
    void Remove() { link_.Reset(); }

  private:
    KernelHandle link_;
};

}  // namespace orvo::piperig

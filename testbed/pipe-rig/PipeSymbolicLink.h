#pragma once
// A symbolic link from a device interface's link name to the named-pipe device, so that
// <link name>\<rest> opens the named pipe \\.\pipe\<rest>. The link lives while this object
// keeps its handle.
#include <string>

#include "win32/KernelHandle.h"

namespace orvo::piperig {

class PipeSymbolicLink {
public:
    // `linkName` starting with \\?\: the device path as the setup API reports it, without the
    // interface's reference string.
    bool Create(const std::string& linkName);
    void Remove() { link_.Reset(); }

private:
    KernelHandle link_;
};

}  // namespace orvo::piperig

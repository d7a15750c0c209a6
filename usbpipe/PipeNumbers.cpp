#include "PipeNumbers.h"

#include <cstdio>

namespace orvo::usbpipe {

namespace {

bool IsPipe(int pipe) {
    return pipe >= 0 && pipe < kPipeCount;
}

}  // namespace

bool IsReadPipe(int pipe) {
    return IsPipe(pipe) && pipe % 2 == 0;
}

bool IsWritePipe(int pipe) {
    return IsPipe(pipe) && pipe % 2 == 1;
}

std::string PipeName(int pipe) {
    char name[16];
    std::snprintf(name, sizeof name, "PIPE%02d", pipe);
    return name;
}

std::optional<std::string> BuildPipePath(const std::string& devicePath, int pipe) {
    std::string path = devicePath + "\\" + PipeName(pipe);
    if (path.size() + 1 > kPipePathSize) {
        return std::nullopt;
    }
    return path;
}

}  // namespace orvo::usbpipe

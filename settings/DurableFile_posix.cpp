#include "DurableFile.h"

#include <fcntl.h>
#include <libgen.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdio>

#include <vector>

namespace orvo {

bool FlushToDisk(std::FILE* file) {
    return std::fflush(file) == 0 && fsync(fileno(file)) == 0;
}

bool CutBack(std::FILE* file, long length) {
    return ftruncate(fileno(file), length) == 0;
}

bool IsReadOnlyFile(const std::string& path) {
    struct stat info {};
    // The owner's write bit, not access(): the tool may run as root, which access() lets through.
    return stat(path.c_str(), &info) == 0 && (info.st_mode & S_IWUSR) == 0;
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

std::FILE* OpenForReading(const std::string& path) {
    return std::fopen(path.c_str(), "rb");
}

bool MoveFileOver(const std::string& from, const std::string& to) {
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        return false;
    }
    std::vector<char> copy(to.begin(), to.end());
    copy.push_back('\0');
    int folder = open(dirname(copy.data()), O_RDONLY);
    if (folder >= 0) {
        fsync(folder);  // makes the rename itself durable
        close(folder);
    }
    return true;
}

}  // namespace orvo

#include "FileLock.h"

#include "DurableFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

namespace orvo {
namespace {

constexpr off_t kLockedByte = off_t{1} << 62;
constexpr std::chrono::milliseconds kRetryPause{10};

// Open-file-description locks, unlike classic ones, are not dropped when the process closes
// some other descriptor of the same file, and they exclude other descriptors of one process.
bool TryLock(int descriptor) {
    struct flock range {};
    range.l_type = F_WRLCK;
    range.l_whence = SEEK_SET;
    range.l_start = kLockedByte;
    range.l_len = 1;
    return fcntl(descriptor, F_OFD_SETLK, &range) == 0;
}

}  // namespace

struct FileLock::Handle {
    int descriptor;
};

std::unique_ptr<FileLock> FileLock::Acquire(const std::string& path, std::chrono::milliseconds wait,
                                            bool& busy) {
    busy = false;
    if (IsReadOnlyFile(path)) {
        return nullptr;
    }
    const int descriptor = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        return nullptr;
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (!TryLock(descriptor)) {
        if ((errno != EAGAIN && errno != EACCES) || std::chrono::steady_clock::now() >= deadline) {
            busy = errno == EAGAIN || errno == EACCES;
            close(descriptor);
            return nullptr;
        }
        std::this_thread::sleep_for(kRetryPause);
    }
    return std::unique_ptr<FileLock>(new FileLock(std::make_unique<Handle>(Handle{descriptor})));
}

FileLock::FileLock(std::unique_ptr<Handle> handle) : handle_(std::move(handle)) {}

FileLock::~FileLock() {
    close(handle_->descriptor);
}

}  // namespace orvo

#pragma once
// An exclusive lock that every process on the PC, and every PC on a network share, honours:
// a byte-range lock on one byte far past the end of the file, so readers and writers of the
// file's own bytes are never held up by it. The lock goes with the object, and with the
// process if it dies.
#include <chrono>
#include <memory>
#include <string>

namespace orvo {

class FileLock {
public:
    // Opens `path` for reading and writing (creating it empty when missing) and takes the lock,
    // waiting for another holder at most `wait`. Nothing when the file cannot be opened for
    // writing or the lock did not come in time; `busy` then says which.
    static std::unique_ptr<FileLock> Acquire(const std::string& path,
                                             std::chrono::milliseconds wait, bool& busy);
    ~FileLock();

    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    struct Handle;
    explicit FileLock(std::unique_ptr<Handle> handle);

    std::unique_ptr<Handle> handle_;
};

}  // namespace orvo

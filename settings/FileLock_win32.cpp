#include "FileLock.h"

#include "DurableFile.h"
#include "win32/KernelHandle.h"

#include <windows.h>

namespace orvo {
namespace {

// Past any real file's end; a lock there holds up no read or write of the file's bytes.
constexpr DWORD kLockedByteHigh = 0x40000000;
constexpr DWORD kRetryPauseMs = 10;

bool TryLock(HANDLE file) {
    OVERLAPPED at{};
    at.OffsetHigh = kLockedByteHigh;
    return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at) != 0;
}

}  // namespace

struct FileLock::Handle {
    KernelHandle file;
};

std::unique_ptr<FileLock> FileLock::Acquire(const std::string& path, std::chrono::milliseconds wait,
                                            bool& busy) {
    busy = false;
    KernelHandle file(CreateFileW(FileSystemPath(path).wstring().c_str(),
                                  GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        return nullptr;
    }
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(wait.count());
    while (!TryLock(file.Get())) {
        const DWORD error = GetLastError();
        if (error != ERROR_LOCK_VIOLATION || GetTickCount64() >= deadline) {
            busy = error == ERROR_LOCK_VIOLATION;
            return nullptr;
        }
        Sleep(kRetryPauseMs);
    }
    return std::unique_ptr<FileLock>(
        new FileLock(std::make_unique<Handle>(Handle{std::move(file)})));
}

FileLock::FileLock(std::unique_ptr<Handle> handle) : handle_(std::move(handle)) {}

// Closing the handle releases its locks.
FileLock::~FileLock() = default;

}  // namespace orvo

#include "DurableFile.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace orvo {
namespace {

std::wstring WidePath(const std::string& path) {
    return FileSystemPath(path).wstring();
}

}  // namespace

std::FILE* OpenFile(const std::string& path, const char* mode) {
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(WidePath(path).c_str(), wideMode.c_str());
}

bool FlushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) {
        return false;
    }
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle) != 0;
}

bool CutBack(std::FILE* file, long length) {
    return _chsize_s(_fileno(file), length) == 0;
}

bool IsReadOnlyFile(const std::string& path) {
    DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

std::FILE* OpenForReading(const std::string& path) {
    HANDLE handle = CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    const int descriptor =
        _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (descriptor == -1) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = _fdopen(descriptor, "rb");
    if (file == nullptr) {
        _close(descriptor);  // closes the handle as well
    }
    return file;
}

bool MoveFileOver(const std::string& from, const std::string& to) {
    // A file that is open cannot be replaced, and a reader may hold it for a moment: the upgrade
    // worker reading CONFIG.INI, a virus scanner, an indexer. Such a hold is waited out for a
    // short while; a lasting one fails the move.
    constexpr int kAttempts = 20;
    constexpr DWORD kPauseMs = 10;
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) {
            return true;
        }
        const DWORD error = GetLastError();
        if (attempt == kAttempts ||
            (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION)) {
            return false;
        }
        Sleep(kPauseMs);
    }
}

}  // namespace orvo

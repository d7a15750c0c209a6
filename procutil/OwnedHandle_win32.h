#pragma once
// Ownership of one kernel handle (snapshot, process, event), closed with CloseHandle.
#include <windows.h>

namespace orvo::procutil {

class OwnedHandle {
  public:
    OwnedHandle() = default;
    explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
    ~OwnedHandle() { Close(); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    // The failure value of most calls is NULL, that of CreateToolhelp32Snapshot and CreateFile
    // is INVALID_HANDLE_VALUE; neither is a handle to close.
    bool IsValid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

    // Closes the handle now; true when a handle was closed.
    bool Close() {
        if (!IsValid()) {
            return false;
        }
        HANDLE handle = handle_;
        handle_ = nullptr;
        return CloseHandle(handle) != 0;
    }

    void Reset(HANDLE handle) {
        Close();
        handle_ = handle;
    }

  private:
    HANDLE handle_ = nullptr;
};

}  // namespace orvo::procutil

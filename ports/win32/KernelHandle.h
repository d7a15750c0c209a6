#pragma once
// The one owner of a kernel handle (file, pipe, event, process, thread, snapshot, symbolic
// link) across all Windows code: moved, never copied, closed when its owner goes.
//
// The failure value of most calls is NULL, that of CreateFile and CreateToolhelp32Snapshot is
// INVALID_HANDLE_VALUE; neither is a handle, and neither is ever closed. How a handle is closed
// is the policy `Closer`: CloseHandle, unless its user goes through a table of calls of its own
// (the pipe library, whose tests swap in a fake).
#include <windows.h>

#include <utility>

namespace orvo {

struct CloseKernelHandle {
    bool operator()(HANDLE handle) const { return CloseHandle(handle) != 0; }
};

template <typename Closer>
class BasicKernelHandle {
public:
    BasicKernelHandle() = default;
    explicit BasicKernelHandle(HANDLE handle, Closer closer = Closer())
        : handle_(handle), closer_(std::move(closer)) {}
    ~BasicKernelHandle() { Close(); }
    BasicKernelHandle(BasicKernelHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, nullptr)), closer_(other.closer_) {}
    BasicKernelHandle& operator=(BasicKernelHandle&& other) noexcept {
        if (this != &other) {
            Close();
            handle_ = std::exchange(other.handle_, nullptr);
            closer_ = other.closer_;
        }
        return *this;
    }
    BasicKernelHandle(const BasicKernelHandle&) = delete;
    BasicKernelHandle& operator=(const BasicKernelHandle&) = delete;

    static bool IsHandle(HANDLE handle) {
        return handle != nullptr && handle != INVALID_HANDLE_VALUE;
    }
    bool IsValid() const { return IsHandle(handle_); }
    HANDLE Get() const { return handle_; }

    // Closes the handle now; true when a handle was there and closed.
    bool Close() {
        const HANDLE handle = std::exchange(handle_, nullptr);
        return IsHandle(handle) && closer_(handle);
    }
    void Reset(HANDLE handle = nullptr) {
        Close();
        handle_ = handle;
    }

private:
    HANDLE handle_ = nullptr;
    Closer closer_;
};

using KernelHandle = BasicKernelHandle<CloseKernelHandle>;

}  // namespace orvo

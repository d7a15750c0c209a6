#pragma once
// A program the driver starts in a folder of its choice, with an environment of its choice;
// ended by force if it still runs when the object goes, so no test leaves one behind.
#include "Environment.h"
#include "win32/KernelHandle.h"

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace orvo::drive {

class DrivenProgram {
public:
    // Starts `program` with `folder` as its current directory and the driver's environment
    // changed by `changes`. Throws std::runtime_error when the program cannot be started.
    DrivenProgram(const std::wstring& program, const std::wstring& folder,
                  const std::vector<EnvironmentChange>& changes = {});
    ~DrivenProgram();
    DrivenProgram(DrivenProgram&&) = default;
    DrivenProgram& operator=(DrivenProgram&&) = default;

    DWORD ProcessId() const { return processId_; }
    bool HasEnded() const;
    // The exit code once the program has ended within `timeout`; nothing otherwise.
    std::optional<DWORD> WaitForEnd(std::chrono::milliseconds timeout) const;

private:
    KernelHandle process_;
    DWORD processId_ = 0;
};

// The environment of the calling process as "NAME=value" entries.
std::vector<std::wstring> CurrentEnvironment();

}  // namespace orvo::drive

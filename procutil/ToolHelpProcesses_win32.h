#pragma once
// The process table of the running system, read through tool-help snapshots.
#include "ProcessPlatform.h"
#include "win32/KernelHandle.h"

#include <tlhelp32.h>

namespace orvo::procutil {

// Names are 8-bit texts, so the walk uses the ANSI entry, whatever UNICODE says.
using AnsiProcessEntry = tagPROCESSENTRY32;

class ToolHelpProcesses final : public ProcessPlatform {
public:
    bool TakeSnapshot() override;
    bool ReadFirstProcess(ProcessEntry& entry) override;
    bool ReadNextProcess(ProcessEntry& entry) override;
    bool ReleaseSnapshot() override;
    void TerminateProcessById(ProcessId id) override;
    ProcessId CurrentProcessId() const override;

private:
    // Hands the entry just read on to the caller, when the read succeeded.
    bool TakeCurrent(bool readSucceeded, ProcessEntry& entry) const;

    KernelHandle snapshot_;
    AnsiProcessEntry current_{};
};

}  // namespace orvo::procutil

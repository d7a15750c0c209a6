#pragma once
// The platform operations that the process search and the process sweep use, gathered in one
// table so that tests can stand in for the running system.
#include <cstdint>
#include <string_view>

namespace orvo::procutil {

using ProcessId = std::uint32_t;

struct ProcessEntry {
    ProcessId id = 0;
    // The executable file name as the snapshot reports it; valid until the next read.
    std::string_view exeName;
};

// One object serves one call: it holds at most one snapshot, taken by TakeSnapshot.
class ProcessPlatform {
public:
    virtual ~ProcessPlatform() = default;

    // Takes a snapshot of every running process; false when none can be taken.
    virtual bool TakeSnapshot() = 0;
    // Read the snapshot's first entry and each following one; false when there is none left.
    virtual bool ReadFirstProcess(ProcessEntry& entry) = 0;
    virtual bool ReadNextProcess(ProcessEntry& entry) = 0;
    // Releases the snapshot; true when it was released.
    virtual bool ReleaseSnapshot() = 0;

    // Opens the process with all access rights, terminates it with exit code 0 and closes it.
    // A process that cannot be opened or terminated is passed over without a report.
    virtual void TerminateProcessById(ProcessId id) = 0;
    virtual ProcessId CurrentProcessId() const = 0;
};

}  // namespace orvo::procutil

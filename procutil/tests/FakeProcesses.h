#pragma once
// A process table for the sweep's tests: a fixed list of processes, a record of what was done.
#include "ProcessPlatform.h"

#include <cstddef>
#include <string>
#include <vector>

namespace orvo::procutil {

struct FakeProcess {
    ProcessId id;
    std::string exeName;
};

class FakeProcesses final : public ProcessPlatform {
public:
    FakeProcesses(std::vector<FakeProcess> processes, ProcessId self);

    bool TakeSnapshot() override;
    bool ReadFirstProcess(ProcessEntry& entry) override;
    bool ReadNextProcess(ProcessEntry& entry) override;
    bool ReleaseSnapshot() override;
    void TerminateProcessById(ProcessId id) override;
    ProcessId CurrentProcessId() const override { return self_; }

    // What the system would answer.
    bool snapshotAvailable = true;
    bool releaseSucceeds = true;

    // What was done: the processes terminated, in order, and whether a snapshot was held then.
    std::vector<ProcessId> terminated;
    std::vector<bool> snapshotHeldAtTermination;
    int snapshotsHeld = 0;

private:
    bool ReadAt(std::size_t index, ProcessEntry& entry);

    std::vector<FakeProcess> processes_;
    ProcessId self_;
    std::size_t next_ = 0;
};

}  // namespace orvo::procutil

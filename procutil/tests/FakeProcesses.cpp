#include "FakeProcesses.h"

#include <utility>

namespace orvo::procutil {

FakeProcesses::FakeProcesses(std::vector<FakeProcess> processes, ProcessId self)
    : processes_(std::move(processes)), self_(self) {}

bool FakeProcesses::TakeSnapshot() {
    if (!snapshotAvailable) {
        return false;
    }
    ++snapshotsHeld;
    return true;
}

bool FakeProcesses::ReadFirstProcess(ProcessEntry& entry) {
    return ReadAt(0, entry);
}

bool FakeProcesses::ReadNextProcess(ProcessEntry& entry) {
    return ReadAt(next_, entry);
}

bool FakeProcesses::ReadAt(std::size_t index, ProcessEntry& entry) {
    if (snapshotsHeld == 0 || index >= processes_.size()) {
        return false;
    }
    entry.id = processes_[index].id;
    entry.exeName = processes_[index].exeName;
    next_ = index + 1;
    return true;
}

bool FakeProcesses::ReleaseSnapshot() {
    if (snapshotsHeld == 0) {
        return false;
    }
    --snapshotsHeld;
    return releaseSucceeds;
}

void FakeProcesses::TerminateProcessById(ProcessId id) {
    terminated.push_back(id);
    snapshotHeldAtTermination.push_back(snapshotsHeld > 0);
}

}  // namespace orvo::procutil

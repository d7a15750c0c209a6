#include "ProcessSweep.h"

#include "ProcessName.h"

namespace orvo::procutil {

void VisitProcesses(ProcessPlatform& platform,
                    const std::function<bool(const ProcessEntry&)>& visit) {
    ProcessEntry entry;
    bool more = platform.ReadFirstProcess(entry);
    while (more && visit(entry)) {
        more = platform.ReadNextProcess(entry);
    }
}

bool AnyProcessNamed(ProcessPlatform& platform, const char* name) {
    if (!platform.TakeSnapshot()) {
        return false;
    }
    bool found = false;
    VisitProcesses(platform, [&](const ProcessEntry& entry) {
        found = ProcessNamesMatch(name, entry.exeName);
        return !found;
    });
    platform.ReleaseSnapshot();
    return found;
}

bool TerminateProcessesNamed(ProcessPlatform& platform, const char* name) {
    if (!platform.TakeSnapshot()) {
        return false;
    }
    const ProcessId self = platform.CurrentProcessId();
    bool selfMatched = false;
    VisitProcesses(platform, [&](const ProcessEntry& entry) {
        if (ProcessNamesMatch(name, entry.exeName)) {
            if (entry.id == self) {
                selfMatched = true;
            } else {
                platform.TerminateProcessById(entry.id);
            }
        }
        return true;
    });
    const bool released = platform.ReleaseSnapshot();
    // Ending the caller as it came in the walk would leave the copies after it running.
    if (selfMatched) {
        platform.TerminateProcessById(self);
    }
    return released;
}

}  // namespace orvo::procutil

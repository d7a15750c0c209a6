#include "ProcessSweep.h"

#include "ProcessName.h"

namespace orvo::procutil {

bool AnyProcessNamed(ProcessPlatform& platform, const char* name) {
    if (!platform.TakeSnapshot()) {
        return false;
    }
    bool found = false;
    ProcessEntry entry;
    for (bool more = platform.ReadFirstProcess(entry); more && !found;
         more = platform.ReadNextProcess(entry)) {
        found = ProcessNamesMatch(name, entry.exeName);
    }
    platform.ReleaseSnapshot();
    return found;
}

bool TerminateProcessesNamed(ProcessPlatform& platform, const char* name) {
    if (!platform.TakeSnapshot()) {
        return false;
    }
    const ProcessId self = platform.CurrentProcessId();
    bool selfMatched = false;
    ProcessEntry entry;
    for (bool more = platform.ReadFirstProcess(entry); more;
         more = platform.ReadNextProcess(entry)) {
        if (!ProcessNamesMatch(name, entry.exeName)) {
            continue;
        }
        if (entry.id == self) {
            selfMatched = true;
        } else {
            platform.TerminateProcessById(entry.id);
        }
    }
    const bool released = platform.ReleaseSnapshot();
    // Ending the caller as it came in the walk would leave the copies after it running.
    if (selfMatched) {
        platform.TerminateProcessById(self);
    }
    return released;
}

}  // namespace orvo::procutil

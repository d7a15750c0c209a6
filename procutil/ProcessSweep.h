#pragma once
// Finding and ending running processes by executable name (see ProcessNamesMatch).
#include "ProcessPlatform.h"

#include <functional>

namespace orvo::procutil {

// Shows each entry of the snapshot the platform holds to `visit`, in snapshot order, until
// `visit` returns false or the entries run out.
void VisitProcesses(ProcessPlatform& platform,
                    const std::function<bool(const ProcessEntry&)>& visit);

// True when at least one process in a fresh snapshot has the name; false when none has or when
// no snapshot can be taken.
bool AnyProcessNamed(ProcessPlatform& platform, const char* name);

// Terminates every process in a fresh snapshot that has the name, the calling process last.
// The result is that of releasing the snapshot, whatever matched; false when no snapshot could
// be taken. When the caller matches, it does not return.
bool TerminateProcessesNamed(ProcessPlatform& platform, const char* name);

}  // namespace orvo::procutil

#pragma once
// The real tool started by the driver, its window found and its process open for reading what
// it uses: what the soak and the benchmark measure.
#include "DrivenProgram.h"
#include "ProgramWindow.h"
#include "win32/KernelHandle.h"

#include <windows.h>

#include <psapi.h>

#include <optional>
#include <string>
#include <vector>

namespace orvo::drive {

struct WatchedTool {
    DrivenProgram program;
    ProgramWindow window;
    KernelHandle process;
};

// Starts the OrvoUpgradeTool.exe of `folder` in that folder, with `changes` to the environment.
// Nothing when its window did not come within a minute or its process could not be opened.
std::optional<WatchedTool> StartWatchedTool(const std::wstring& folder,
                                            const std::vector<EnvironmentChange>& changes);

// The process's memory counters: its working set and the peak of it.
PROCESS_MEMORY_COUNTERS MemoryCounters(HANDLE process);

}  // namespace orvo::drive

#include "WatchedTool.h"

namespace orvo::drive {

std::optional<WatchedTool> StartWatchedTool(const std::wstring& folder,
                                            const std::vector<EnvironmentChange>& changes) {
    using namespace std::chrono_literals;
    DrivenProgram program(folder + L"\\OrvoUpgradeTool.exe", folder, changes);
    const auto window = ProgramWindow::WaitFor(program.ProcessId(), 60s);
    KernelHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program.ProcessId()));
    if (!window || !process.IsValid()) {
        return std::nullopt;
    }
    return WatchedTool{std::move(program), *window, std::move(process)};
}

PROCESS_MEMORY_COUNTERS MemoryCounters(HANDLE process) {
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process, &memory, sizeof memory);
    return memory;
}

}  // namespace orvo::drive

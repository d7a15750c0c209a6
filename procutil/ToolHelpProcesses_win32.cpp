#include "ToolHelpProcesses_win32.h"

#include <cstring>

// UNICODE turns these names into the wide functions; the 8-bit ones are wanted here.
#undef Process32First
#undef Process32Next

namespace orvo::procutil {

namespace {

// All access rights as the older headers spell them: the value newer headers give (0x1FFFFF)
// is refused with access denied by Windows XP, this one is accepted by every version.
constexpr DWORD kAllProcessAccess = 0x1F0FFF;
constexpr UINT kTerminatedExitCode = 0;

#ifndef _WIN64
// Callers and the system agree on this size for the 32-bit entry.
static_assert(sizeof(AnsiProcessEntry) == 296);
#endif

}  // namespace

bool ToolHelpProcesses::TakeSnapshot() {
    snapshot_.Reset(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    return snapshot_.IsValid();
}

bool ToolHelpProcesses::ReadFirstProcess(ProcessEntry& entry) {
    current_.dwSize = sizeof(current_);
    return TakeCurrent(Process32First(snapshot_.Get(), &current_) != 0, entry);
}

bool ToolHelpProcesses::ReadNextProcess(ProcessEntry& entry) {
    return TakeCurrent(Process32Next(snapshot_.Get(), &current_) != 0, entry);
}

bool ToolHelpProcesses::TakeCurrent(bool readSucceeded, ProcessEntry& entry) const {
    if (!readSucceeded) {
        return false;
    }
    entry.id = current_.th32ProcessID;
    // The name is meant to end in a zero, but nothing past the field is read if it does not.
    entry.exeName = std::string_view(current_.szExeFile,
                                     strnlen(current_.szExeFile, sizeof(current_.szExeFile)));
    return true;
}

bool ToolHelpProcesses::ReleaseSnapshot() {
    return snapshot_.Close();
}

void ToolHelpProcesses::TerminateProcessById(ProcessId id) {
    KernelHandle process(OpenProcess(kAllProcessAccess, FALSE, id));
    if (process.IsValid()) {
        TerminateProcess(process.Get(), kTerminatedExitCode);
    }
}

ProcessId ToolHelpProcesses::CurrentProcessId() const {
    return GetCurrentProcessId();
}

}  // namespace orvo::procutil

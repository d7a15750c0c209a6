#include "Pyxol.h"

#include "ProcessSweep.h"
#include "ToolHelpProcesses_win32.h"

using orvo::procutil::ToolHelpProcesses;

extern "C" int SearchProgress(const char* name) {
    ToolHelpProcesses processes;
    return orvo::procutil::AnyProcessNamed(processes, name) ? 1 : 0;
}

extern "C" int CloseProgress(const char* name) {
    ToolHelpProcesses processes;
    return orvo::procutil::TerminateProcessesNamed(processes, name) ? 1 : 0;
}

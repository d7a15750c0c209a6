#pragma once
// A program that a test starts. The destructor ends it if it still runs, so that a failing test
// leaves no process behind.
#include "win32/KernelHandle.h"

#include <windows.h>

#include <string>

namespace orvo::procutil {

class ChildProcess {
  public:
    enum class Output { Ignored, Captured };

    ChildProcess(std::string commandLine, Output output = Output::Ignored);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool IsStarted() const { return process_.IsValid(); }
    DWORD Id() const { return id_; }
    bool IsRunning() const;
    // Waits for the program to end: its exit code, or STILL_ACTIVE when it has not ended within
    // half a minute.
    DWORD WaitForExit() const;
    // Everything the program wrote to its standard output and error, once it has closed them.
    std::string ReadOutput();

  private:
    KernelHandle process_;
    KernelHandle outputPipe_;
    DWORD id_ = 0;
};

// The folder of the running test program; the DLL and the helper programs are built there.
std::string ProgramFolder();

}  // namespace orvo::procutil

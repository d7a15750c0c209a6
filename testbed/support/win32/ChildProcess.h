#pragma once
// A program run by a test, talked to through its standard input and output.
#include <string>

#include "win32/KernelHandle.h"

namespace orvo::testing {

class ChildProcess {
public:
    ChildProcess() = default;
    // Started at once; a failed start shows as a program that is not running.
    explicit ChildProcess(const std::string& program, const std::string& arguments = "",
                          const std::string& folder = "") {
        Start(program, arguments, folder);
    }
    ~ChildProcess();  // ends a program still running
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // `program` as the build names it; `arguments` already quoted where needed; `folder` the
    // program's current directory (empty: ours).
    bool Start(const std::string& program, const std::string& arguments = "",
               const std::string& folder = "");
    bool IsRunning() const;
    unsigned long ProcessId() const { return processId_; }

    bool WriteLine(const std::string& line);
    // The next line of output without its line end; false once the program has ended (or after
    // a long while, which only a broken program takes).
    bool ReadLine(std::string& line);
    // Everything the program writes until it closes its output or ends.
    std::string ReadOutput();
    // Waits for the program to end by itself; its exit code, or -1 when it does not end within
    // a long while, which only a broken program takes.
    int WaitForExit() const;
    // Closes the program's input and waits for it to end; its exit code, or -1.
    int Finish();
    // Ends the program at once.
    void Kill();

private:
    void Forget();

    KernelHandle process_;
    KernelHandle input_;
    KernelHandle output_;
    unsigned long processId_ = 0;
    std::string pending_;
};

}  // namespace orvo::testing

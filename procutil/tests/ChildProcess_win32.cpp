#include "ChildProcess_win32.h"

#include <vector>

namespace orvo::procutil {

namespace {

constexpr DWORD kExitWaitMs = 30'000;

}  // namespace

ChildProcess::ChildProcess(std::string commandLine, Output output) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    KernelHandle writeEnd;
    if (output == Output::Captured) {
        SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        HANDLE readEnd = nullptr;
        HANDLE write = nullptr;
        if (!CreatePipe(&readEnd, &write, &inheritable, 0)) {
            return;
        }
        outputPipe_.Reset(readEnd);
        writeEnd.Reset(write);
        SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = write;
        startup.hStdError = write;
    }
    PROCESS_INFORMATION started{};
    if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, writeEnd.IsValid(), 0,
                       nullptr, nullptr, &startup, &started)) {
        CloseHandle(started.hThread);
        process_.Reset(started.hProcess);
        id_ = started.dwProcessId;
    }
}

ChildProcess::~ChildProcess() {
    if (IsRunning()) {
        TerminateProcess(process_.Get(), 1);
        WaitForSingleObject(process_.Get(), kExitWaitMs);
    }
}

bool ChildProcess::IsRunning() const {
    return IsStarted() && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

DWORD ChildProcess::WaitForExit() const {
    DWORD exitCode = STILL_ACTIVE;
    if (IsStarted() && WaitForSingleObject(process_.Get(), kExitWaitMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process_.Get(), &exitCode);
    }
    return exitCode;
}

std::string ChildProcess::ReadOutput() {
    std::string output;
    std::vector<char> chunk(4096);
    DWORD read = 0;
    while (outputPipe_.IsValid() &&
           ReadFile(outputPipe_.Get(), chunk.data(), static_cast<DWORD>(chunk.size()), &read,
                    nullptr) &&
           read > 0) {
        output.append(chunk.data(), read);
    }
    return output;
}

std::string ProgramFolder() {
    std::vector<char> path(MAX_PATH);
    DWORD length = 0;
    while ((length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
           path.size()) {
        path.resize(path.size() * 2);
    }
    std::string program(path.data(), length);
    return program.substr(0, program.find_last_of("\\/"));
}

}  // namespace orvo::procutil

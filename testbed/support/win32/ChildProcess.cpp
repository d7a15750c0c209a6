#include "ChildProcess.h"

#include <windows.h>

#include "WindowsPath.h"

namespace orvo::testing {

namespace {

// Every answer of a working program comes within milliseconds; this only ends a broken run.
constexpr DWORD kAnswerLimitMs = 15000;

bool MakePipe(KernelHandle& ours, KernelHandle& theirs, bool theyRead) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!CreatePipe(&read, &write, &inherit, 0)) {
        return false;
    }
    ours.Reset(theyRead ? write : read);
    theirs.Reset(theyRead ? read : write);
    return SetHandleInformation(ours.Get(), HANDLE_FLAG_INHERIT, 0) != FALSE;
}

}  // namespace

ChildProcess::~ChildProcess() {
    if (IsRunning()) {
        Kill();
    }
}

bool ChildProcess::Start(const std::string& program, const std::string& arguments,
                         const std::string& folder) {
    pending_.clear();
    KernelHandle childInput;
    KernelHandle childOutput;
    if (!MakePipe(input_, childInput, true) || !MakePipe(output_, childOutput, false)) {
        return false;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childInput.Get();
    startup.hStdOutput = childOutput.Get();
    startup.hStdError = childOutput.Get();
    std::string commandLine = "\"" + WindowsPath(program) + "\" " + arguments;
    PROCESS_INFORMATION started{};
    const std::string directory = WindowsPath(folder);
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &started)) {
        Forget();
        return false;
    }
    CloseHandle(started.hThread);
    process_.Reset(started.hProcess);
    processId_ = started.dwProcessId;
    return true;
}

bool ChildProcess::IsRunning() const {
    return process_.IsValid() && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

std::string ChildProcess::ReadOutput() {
    std::string output;
    output.swap(pending_);
    char chunk[4096];
    DWORD count = 0;
    while (ReadFile(output_.Get(), chunk, sizeof chunk, &count, nullptr) && count > 0) {
        output.append(chunk, count);
    }
    return output;
}

int ChildProcess::WaitForExit() const {
    DWORD code = 0;
    if (WaitForSingleObject(process_.Get(), kAnswerLimitMs) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process_.Get(), &code)) {
        return -1;
    }
    return static_cast<int>(code);
}

bool ChildProcess::WriteLine(const std::string& line) {
    const std::string text = line + "\n";
    DWORD written = 0;
    return WriteFile(input_.Get(), text.data(), static_cast<DWORD>(text.size()), &written,
                     nullptr) &&
           written == text.size();
}

bool ChildProcess::ReadLine(std::string& line) {
    const ULONGLONG deadline = GetTickCount64() + kAnswerLimitMs;
    for (;;) {
        const auto end = pending_.find('\n');
        if (end != std::string::npos) {
            line = pending_.substr(0, end);
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            pending_.erase(0, end + 1);
            return true;
        }
        DWORD available = 0;
        if (!PeekNamedPipe(output_.Get(), nullptr, 0, nullptr, &available, nullptr)) {
            return false;  // the program has ended
        }
        if (available == 0) {
            if (GetTickCount64() > deadline) {
                return false;
            }
            Sleep(5);
            continue;
        }
        char chunk[256];
        DWORD count = 0;
        if (!ReadFile(output_.Get(), chunk, sizeof chunk, &count, nullptr)) {
            return false;
        }
        pending_.append(chunk, count);
    }
}

int ChildProcess::Finish() {
    input_.Reset();
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process_.Get(), kAnswerLimitMs) != WAIT_OBJECT_0) {
        TerminateProcess(process_.Get(), code);
    }
    GetExitCodeProcess(process_.Get(), &code);
    Forget();
    return static_cast<int>(code);
}

void ChildProcess::Kill() {
    TerminateProcess(process_.Get(), 1);
    WaitForSingleObject(process_.Get(), kAnswerLimitMs);
    Forget();
}

void ChildProcess::Forget() {
    process_.Reset();
    input_.Reset();
    output_.Reset();
    processId_ = 0;
    pending_.clear();
}

}  // namespace orvo::testing

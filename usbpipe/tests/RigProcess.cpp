#include "RigProcess.h"

#include <windows.h>

#include "WindowsPath.h"

namespace orvo::usbpipe::testing {

namespace {

// Every answer of a working server comes within milliseconds; this only ends a broken run.
constexpr DWORD kAnswerLimitMs = 15000;

bool MakePipe(piperig::OwnedHandle& ours, piperig::OwnedHandle& theirs, bool theyRead) {
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

RigProcess::~RigProcess() {
    if (process_.IsValid()) {
        Quit();
    }
}

bool RigProcess::Start() {
    piperig::OwnedHandle serverIn;
    piperig::OwnedHandle serverOut;
    if (!MakePipe(toServer_, serverIn, true) || !MakePipe(fromServer_, serverOut, false)) {
        return false;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = serverIn.Get();
    startup.hStdOutput = serverOut.Get();
    startup.hStdError = serverOut.Get();
    std::string commandLine = "\"" + WindowsPath(ORVO_PIPE_RIG_SERVER) + "\"";
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &started)) {
        return false;
    }
    CloseHandle(started.hThread);
    process_.Reset(started.hProcess);
    std::string line;
    if (!ReadLine(line) || line.rfind("ready ", 0) != 0) {
        Kill();
        return false;
    }
    devicePath_ = line.substr(6);
    return true;
}

bool RigProcess::Command(const std::string& command) {
    const std::string line = command + "\n";
    DWORD written = 0;
    std::string answer;
    return WriteFile(toServer_.Get(), line.data(), static_cast<DWORD>(line.size()), &written,
                     nullptr) &&
           ReadLine(answer) && answer == "ok";
}

bool RigProcess::Quit() {
    const bool acknowledged = Command("quit");
    toServer_.Reset();
    const bool ended = WaitForSingleObject(process_.Get(), kAnswerLimitMs) == WAIT_OBJECT_0;
    if (!ended) {
        TerminateProcess(process_.Get(), 1);
    }
    Forget();
    return acknowledged && ended;
}

void RigProcess::Kill() {
    TerminateProcess(process_.Get(), 1);
    WaitForSingleObject(process_.Get(), kAnswerLimitMs);
    Forget();
}

void RigProcess::Forget() {
    process_.Reset();
    toServer_.Reset();
    fromServer_.Reset();
    pending_.clear();
}

bool RigProcess::ReadLine(std::string& line) {
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
        if (!PeekNamedPipe(fromServer_.Get(), nullptr, 0, nullptr, &available, nullptr)) {
            return false;  // the server has ended
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
        if (!ReadFile(fromServer_.Get(), chunk, sizeof chunk, &count, nullptr)) {
            return false;
        }
        pending_.append(chunk, count);
    }
}

}  // namespace orvo::usbpipe::testing

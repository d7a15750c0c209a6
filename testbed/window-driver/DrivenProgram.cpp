#include "DrivenProgram.h"

#include <stdexcept>
#include <thread>

namespace orvo::drive {

std::vector<std::wstring> CurrentEnvironment() {
    std::vector<std::wstring> variables;
    wchar_t* block = GetEnvironmentStringsW();
    if (block == nullptr) {
        return variables;
    }
    for (const wchar_t* entry = block; *entry != L'\0'; entry += variables.back().size() + 1) {
        variables.emplace_back(entry);
    }
    FreeEnvironmentStringsW(block);
    return variables;
}

DrivenProgram::DrivenProgram(const std::wstring& program, const std::wstring& folder,
                             const std::vector<EnvironmentChange>& changes) {
    std::wstring environment = EnvironmentBlock(ChangeEnvironment(CurrentEnvironment(), changes));
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    // Wine, when the machine is busy, now and then fails a start with ERROR_INTERNAL_ERROR
    // that the next try does not; any other error is the program's and stays an error.
    constexpr int kTries = 3;
    for (int attempt = 1;; ++attempt) {
        if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                           CREATE_UNICODE_ENVIRONMENT, environment.data(), folder.c_str(), &startup,
                           &started)) {
            break;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_INTERNAL_ERROR || attempt == kTries) {
            throw std::runtime_error("cannot start the program, error " + std::to_string(error));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    CloseHandle(started.hThread);
    process_.Reset(started.hProcess);
    processId_ = started.dwProcessId;
}

DrivenProgram::~DrivenProgram() {
    if (process_.IsValid() && !HasEnded()) {
        TerminateProcess(process_.Get(), 1);
        WaitForSingleObject(process_.Get(), 5000);
    }
}

bool DrivenProgram::HasEnded() const {
    return WaitForSingleObject(process_.Get(), 0) == WAIT_OBJECT_0;
}

std::optional<DWORD> DrivenProgram::WaitForEnd(std::chrono::milliseconds timeout) const {
    if (WaitForSingleObject(process_.Get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(process_.Get(), &code);
    return code;
}

}  // namespace orvo::drive

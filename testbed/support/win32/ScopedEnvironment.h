#pragma once
// An environment variable of this process set for as long as the object lives: programs and
// DLLs the test starts or loads read their settings from it.
#include <windows.h>

#include <optional>
#include <string>

namespace orvo::testing {

// The value it had before comes back when the object goes, so that settings may nest.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
        const DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
        if (size > 0) {
            std::string before(size, '\0');
            before.resize(GetEnvironmentVariableA(name, before.data(), size));
            before_ = before;
        }
        SetEnvironmentVariableA(name, value.c_str());
    }
    ~ScopedEnvironment() { SetEnvironmentVariableA(name_, before_ ? before_->c_str() : nullptr); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
    std::optional<std::string> before_;
};

}  // namespace orvo::testing

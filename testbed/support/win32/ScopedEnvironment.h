#pragma once
// An environment variable of this process set for as long as the object lives: programs and
// DLLs the test starts or loads read their settings from it.
#include <windows.h>

#include <string>

namespace orvo::testing {

class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
        SetEnvironmentVariableA(name, value.c_str());
    }
    ~ScopedEnvironment() { SetEnvironmentVariableA(name_, nullptr); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
};

}  // namespace orvo::testing

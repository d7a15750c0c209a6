#pragma once
// The environment a driven program starts with: the driver's own, with some variables set or
// removed. Windows names are compared without regard to case, as the system does.
#include <optional>
#include <string>
#include <vector>

namespace orvo::drive {

struct EnvironmentChange {
    std::wstring name;
    std::optional<std::wstring> value;  // nothing: the variable is removed
};

// `variables` are "NAME=value" entries; the result is sorted by name, as CreateProcess wants
// the block. Entries that begin with '=' (the per-drive folders) are names of their own.
std::vector<std::wstring> ChangeEnvironment(std::vector<std::wstring> variables,
                                            const std::vector<EnvironmentChange>& changes);

// The entries, each ended by a zero, and one more zero after the last.
std::wstring EnvironmentBlock(const std::vector<std::wstring>& variables);

}  // namespace orvo::drive

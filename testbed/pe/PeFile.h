#pragma once
// What a Windows binary says of itself in its PE headers, read portably from its bytes: the
// machine it runs on, its subsystem, the names it exports and the names it imports per DLL, the
// file version of its version resource and its application manifest.
// Enough to check a build's deliverables on a host that cannot run them.

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace orvo::testbed {

struct PeFile {
    static constexpr std::uint16_t kMachineI386 = 0x014C;
    static constexpr std::uint16_t kMachineAmd64 = 0x8664;
    static constexpr std::uint16_t kSubsystemGui = 2;
    static constexpr std::uint16_t kSubsystemConsole = 3;

    std::uint16_t machine = 0;
    std::uint16_t subsystem = 0;
    std::set<std::string> exports;
    // Imported names by DLL, the DLL's name in lower case; an import by ordinal reads "#N".
    std::map<std::string, std::set<std::string>> imports;
    // "1.6.0.0" as the fixed part of the VERSIONINFO resource gives it; empty without one.
    std::string fileVersion;
    // The application manifest: the RT_MANIFEST resource (type 24) of id 1, as its bytes stand;
    // empty without one.
    std::string manifest;
    // Where in the file the root of the resource directory starts; 0 without resources.
    std::size_t resourceDirectory = 0;
};

// The file's headers, or nothing with `error` saying what is wrong with it.
std::optional<PeFile> ReadPeFile(const std::string& path, std::string& error);

}  // namespace orvo::testbed

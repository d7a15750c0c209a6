// orvo-rig-benchmark: the real program upgrades the simulated device played by sim-rig-server,
// through a pipe library for real devices, the real setup API and real overlapped pipes, for a
// 1 MiB and a 16 MiB image: the project's qxUSBDevAdv.dll (the deliverable, timed; its counted
// build for the library's own calls), the keep-open floor of the test bed, and the simulated
// device's DLL inside the tool's process. Per block (data frame) it prints the transfers, pipe
// opens and closes the rig saw during the upgrade, the status requests and searches the library
// made, and the µs a block (the device's span from the first transfer to the last over the data
// frames): the best of the runs, and their mean.
//   orvo-rig-benchmark DIST DIST_SIM RIG_SERVER COUNTED_DLL FLOOR_DLL WORK
#include "LinkTiming.h"
#include "RigProcess.h"
#include "UpgradeClick.h"
#include "WatchedTool.h"

#include "DialogControls.h"
#include "ImageMaker.h"

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr std::size_t kMiB = 1024 * 1024;
constexpr int kRuns = 3;

struct LibraryCounts {
    long searches = 0, pipeOpens = 0, pipeCloses = 0, statusRequests = 0, resets = 0;
};

struct Run {
    orvo::sim::LinkTiming timing;
    orvo::piperig::PipeCounts rig;  // during the upgrade; none for the in-process road
    std::optional<LibraryCounts> library;
};

std::optional<LibraryCounts> ReadLibraryCounts(const fs::path& file) {
    std::ifstream in(file);
    std::string word;
    LibraryCounts counts;
    long ignored = 0;
    if (!(in >> word >> counts.searches >> word >> ignored >> word >> counts.pipeOpens >> word >>
          counts.pipeCloses >> word >> ignored >> word >> ignored >> word >>
          counts.statusRequests >> word >> counts.resets)) {
        return std::nullopt;
    }
    return counts;
}

void SetVariable(const wchar_t* name, const std::optional<std::wstring>& value) {
    SetEnvironmentVariableW(name, value ? value->c_str() : nullptr);
}

// One upgrade by a fresh tool of `folder`; on the rig when `rigServer` is given.
std::optional<Run> UpgradeOnce(const fs::path& folder, const std::string& rigServer, bool counted) {
    const fs::path timingFile = folder / "timing.txt";
    const fs::path countsFile = folder / "counts.txt";
    fs::remove(timingFile);
    fs::remove(countsFile);
    SetVariable(L"ORVO_SIM_TIMING", timingFile.wstring());
    SetVariable(L"ORVO_SIM_LATENCY_US", L"0");
    SetVariable(L"ORVO_SIM_OUTPUT", std::nullopt);
    SetVariable(L"ORVO_SIM_FAULTS", std::nullopt);
    SetVariable(L"ORVO_PIPE_COUNTS",
                counted ? std::optional<std::wstring>(countsFile.wstring()) : std::nullopt);
    std::optional<orvo::testing::RigProcess> rig;
    if (!rigServer.empty()) {
        rig.emplace(rigServer);
        if (!rig->Start()) {
            std::fprintf(stderr, "orvo-rig-benchmark: the rig did not start\n");
            return std::nullopt;
        }
    }
    auto tool = orvo::drive::StartWatchedTool(folder.wstring(), {});
    if (!tool) {
        std::fprintf(stderr, "orvo-rig-benchmark: the tool's window did not come\n");
        return std::nullopt;
    }
    Run run;
    const auto before = rig ? rig->Counts() : orvo::piperig::PipeCounts{};
    if (!orvo::drive::ClickStartUpgradeAndWait(tool->window, false, 600s)) {
        std::fprintf(stderr, "orvo-rig-benchmark: the upgrade did not end\n");
        return std::nullopt;
    }
    if (rig) {
        const auto after = rig->Counts();
        if (!before || !after) {
            return std::nullopt;
        }
        run.rig = {after->opens - before->opens, after->closes - before->closes,
                   after->writes - before->writes, after->reads - before->reads,
                   after->deviceOpens - before->deviceOpens};
    }
    tool->window.Click(orvo::control::kExit);
    tool->program.WaitForEnd(30s);
    if (rig) {
        rig->Quit();
    }
    std::ifstream lines(timingFile);
    std::string first;
    std::getline(lines, first);
    const auto timing = orvo::sim::ParseLinkTiming(first);
    if (!timing) {
        std::fprintf(stderr, "orvo-rig-benchmark: the device reported no timing\n");
        return std::nullopt;
    }
    run.timing = *timing;
    if (counted) {
        run.library = ReadLibraryCounts(countsFile);
    }
    return run;
}

double MicrosPerBlock(const Run& run) {
    return static_cast<double>(run.timing.span.count()) / 1000.0 /
           static_cast<double>(run.timing.dataFrames);
}

void WriteImage(const fs::path& path, std::size_t size) {
    const orvo::image::Bytes image =
        orvo::image::MakeRandomImage({size / 4, size / 2, size - size / 4 - size / 2});
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
}

struct Road {
    const char* name;
    fs::path folder;
    bool onRig;
    bool counted;          // the library counts its own calls
    fs::path countedTwin;  // a counted build of the same library, run once for its counts
};

std::string PerBlock(double value, double blocks) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value / blocks);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 7) {
        std::fprintf(stderr,
                     "usage: orvo-rig-benchmark DIST DIST_SIM RIG_SERVER COUNTED_DLL FLOOR_DLL "
                     "WORK\n");
        return 2;
    }
    const fs::path work = argv[6];
    fs::create_directories(work);
    const std::string rigServer = argv[3];
    const auto copy = [&](const fs::path& from, const char* name, const char* dll) {
        const fs::path to = work / name;
        fs::remove_all(to);
        fs::copy(from, to, fs::copy_options::recursive);
        if (dll != nullptr) {
            fs::remove(to / "qxUSBDevAdv.dll");
            fs::copy_file(dll, to / "qxUSBDevAdv.dll");
        }
        return to;
    };
    const std::vector<Road> roads = {
        {"qxUSBDevAdv", copy(argv[1], "project", nullptr), true, false,
         copy(argv[1], "counted", argv[4])},
        {"keep-open floor", copy(argv[1], "floor", argv[5]), true, true, {}},
        {"in-process sim", copy(argv[2], "in-process", nullptr), false, false, {}},
    };
    std::printf("%-6s %-16s %10s %9s %9s %9s %9s %10s %8s\n", "image", "library", "transfers",
                "opens", "closes", "status", "searches", "us/block", "mean");
    for (std::size_t mib : {1, 16}) {
        for (const Road& road : roads) {
            for (const fs::path& folder : {road.folder, road.countedTwin}) {
                if (!folder.empty()) {
                    WriteImage(folder / "orvo_upgrade.bin", mib * kMiB);
                }
            }
            std::optional<Run> best;
            double sum = 0;
            for (int run = 0; run < kRuns; ++run) {
                const auto next =
                    UpgradeOnce(road.folder, road.onRig ? rigServer : "", road.counted);
                if (!next) {
                    return 1;
                }
                sum += MicrosPerBlock(*next);
                if (!best || next->timing.span < best->timing.span) {
                    best = next;
                }
            }
            std::optional<LibraryCounts> library = best->library;
            if (!road.countedTwin.empty()) {
                const auto counted = UpgradeOnce(road.countedTwin, rigServer, true);
                if (!counted) {
                    return 1;
                }
                library = counted->library;
            }
            const double blocks = static_cast<double>(best->timing.dataFrames);
            const orvo::piperig::PipeCounts& rig = best->rig;
            const bool onRig = road.onRig;
            std::printf("%3zu MiB %-16s %10s %9s %9s %9s %9s %10.1f %8.1f\n", mib, road.name,
                        onRig ? PerBlock(rig.writes + rig.reads, blocks).c_str() : "-",
                        onRig ? PerBlock(rig.opens, blocks).c_str() : "-",
                        onRig ? PerBlock(rig.closes, blocks).c_str() : "-",
                        library ? PerBlock(library->statusRequests, blocks).c_str() : "-",
                        library ? PerBlock(library->searches, blocks).c_str() : "-",
                        MicrosPerBlock(*best), sum / kRuns);
            std::fflush(stdout);
        }
    }
    return 0;
}

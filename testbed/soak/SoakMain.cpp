// orvo-soak: the real program upgrades the simulated device many times back to back, in one
// process of the tool, with a device failure every tenth run; every hundred runs the tool's
// kernel handles, GDI and USER objects and working set are read (every tenth of the runs when
// fewer than a thousand). Ends non-zero when the lowest of any of them in the second half of the
// readings is above its lowest in the first half, or a run did not end as it should. Wine keeps no
// count of a process's handles, GDI or USER objects and answers 0 for each: under Wine only the
// working set speaks (scripts/soak adds the Unix side of the tool's process).
//   orvo-soak FOLDER RUNS
// FOLDER holds a copy of dist-sim/ (the tool, the simulated device's DLL, the sample files).
#include "DialogControls.h"
#include "UpgradeClick.h"
#include "UpgradeImage.h"
#include "WatchedTool.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr int kFailEvery = 10;
constexpr int kReadings = 10;
constexpr int kLongestReadInterval = 100;
// The failing run's device refuses the data frame of the first block: the sixth frame written
// (handshake, its second command, the serial number, the start of the part, the block's
// announcement, the block).
constexpr int kFailingFrame = 5;
constexpr int kFramesBeforeParts = 3;  // commands 10, 11 and 6

struct Reading {
    int run;
    DWORD handles;
    DWORD gdiObjects;
    DWORD userObjects;
    SIZE_T workingSet;
};

// Frames one whole upgrade of `image` writes: the three opening commands, each part's start
// command with an announcement and a data frame per block, and the end command.
int FramesPerRun(const std::string& image) {
    std::ifstream in(image, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    const orvo::ImageLayout layout =
        orvo::ReadImageLayout(bytes.data(), bytes.size(), bytes.size());
    if (layout.fault != orvo::ImageFault::kNone) {
        return -1;
    }
    const auto blocks = orvo::BlockCount(layout.internalSize, orvo::kInternalBlockSize) +
                        orvo::BlockCount(layout.externalSize, orvo::kExternalBlockSize);
    return static_cast<int>(kFramesBeforeParts + 2 + 2 * blocks + 1);
}

// The simulated device's faults: a failure reply in every tenth run, counted in frames written
// since the tool loaded it.
std::wstring FailureEveryTenthRun(int runs, int framesPerRun) {
    std::wstring faults;
    int frame = 0;
    for (int run = 1; run <= runs; ++run) {
        if (run % kFailEvery == 0) {
            faults += (faults.empty() ? L"" : L",") + std::wstring(L"failure-reply@") +
                      std::to_wstring(frame + kFailingFrame) + L":3";
            frame += kFailingFrame + 1;
        } else {
            frame += framesPerRun;
        }
    }
    return faults;
}

// Working sets in KiB, printed as the C runtime of both builds prints an unsigned long.
unsigned long Kib(SIZE_T bytes) {
    return static_cast<unsigned long>(bytes / 1024);
}

Reading Read(HANDLE process, int run) {
    Reading reading{run, 0, 0, 0, 0};
    GetProcessHandleCount(process, &reading.handles);
    reading.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
    reading.userObjects = GetGuiResources(process, GR_USEROBJECTS);
    reading.workingSet = orvo::drive::MemoryCounters(process).WorkingSetSize;
    std::printf("run %5d: handles %lu, GDI objects %lu, USER objects %lu, working set %lu KiB\n",
                run, reading.handles, reading.gdiObjects, reading.userObjects,
                Kib(reading.workingSet));
    std::fflush(stdout);
    return reading;
}

// The lowest of each count over [begin, end): what stays once the transient has gone.
Reading Floor(std::vector<Reading>::const_iterator begin,
              std::vector<Reading>::const_iterator end) {
    Reading floor = *begin;
    for (auto it = begin; it != end; ++it) {
        floor.handles = std::min(floor.handles, it->handles);
        floor.gdiObjects = std::min(floor.gdiObjects, it->gdiObjects);
        floor.userObjects = std::min(floor.userObjects, it->userObjects);
        floor.workingSet = std::min(floor.workingSet, it->workingSet);
    }
    return floor;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: orvo-soak FOLDER RUNS\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    const int runs = _wtoi(argv[2]);
    const std::string narrowFolder(folder.begin(), folder.end());
    const int framesPerRun = FramesPerRun(narrowFolder + "\\orvo_upgrade.bin");
    if (runs < kReadings * kFailEvery || framesPerRun <= kFailingFrame) {
        std::fprintf(stderr, "orvo-soak: at least %d runs of a valid orvo_upgrade.bin\n",
                     kReadings * kFailEvery);
        return 2;
    }
    const int readEvery = std::min(kLongestReadInterval, runs / kReadings);
    const auto tool = orvo::drive::StartWatchedTool(
        folder, {{L"ORVO_SIM_FAULTS", FailureEveryTenthRun(runs, framesPerRun)},
                 {L"ORVO_SIM_OUTPUT", std::nullopt},
                 {L"ORVO_SIM_LATENCY_US", std::nullopt}});
    if (!tool) {
        std::fprintf(stderr, "orvo-soak: the tool's window did not come\n");
        return 1;
    }
    std::vector<Reading> readings;
    for (int run = 1; run <= runs; ++run) {
        if (!orvo::drive::ClickStartUpgradeAndWait(tool->window, run % kFailEvery == 0, 30s)) {
            std::fprintf(stderr, "orvo-soak: run %d did not end as it should\n", run);
            return 1;
        }
        if (run % readEvery == 0) {
            readings.push_back(Read(tool->process.Get(), run));
        }
    }
    tool->window.Click(orvo::control::kExit);
    const auto middle = readings.begin() + static_cast<std::ptrdiff_t>(readings.size() / 2);
    const Reading early = Floor(readings.begin(), middle);
    const Reading late = Floor(middle, readings.end());
    // The working set breathes by about a megabyte as the heap hands whole images back to the
    // system and takes them again, so one reading against another says little; a leak raises
    // the floor. A leak of one image or one frame buffer a run shows far above the slack.
    constexpr SIZE_T kWorkingSetSlack = 1024 * 1024;
    const bool grew = late.handles > early.handles || late.gdiObjects > early.gdiObjects ||
                      late.userObjects > early.userObjects ||
                      late.workingSet > early.workingSet + kWorkingSetSlack;
    std::printf(
        "%s: lowest in the first and the second half of the readings: handles %lu -> %lu, "
        "GDI %lu -> %lu, USER %lu -> %lu, working set %lu -> %lu KiB\n",
        grew ? "GREW" : "steady", early.handles, late.handles, early.gdiObjects, late.gdiObjects,
        early.userObjects, late.userObjects, Kib(early.workingSet), Kib(late.workingSet));
    return grew ? 1 : 0;
}

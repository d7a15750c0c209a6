// orvo-benchmark: the real program upgrades the simulated device on a modelled USB link where
// every transfer takes exactly N microseconds, for N = 1000, 125 and 0 and a 1 MiB and a 16 MiB
// image, a fresh tool for each. For each it prints what the link alone needs, what the upgrade
// took, their ratio, the tool's own time per block (the span less the time inside the device's
// calls) and how far the tool's working set rose above where it stood before the click, per
// MiB of image. The tool then upgrades the device a second time, and "later" is that upgrade's
// own time per block: a fresh tool's first upgrade pays for much that runs for the first time.
// "mean" is the tool's own time per block in the first upgrades of all five runs.
//
// A virtual machine's processor is now and then taken away for milliseconds, which the device's
// waits then overrun. Each case therefore runs five times and the first upgrade with the
// shortest span is shown, and so is the second upgrade with the shortest span for "later"; and
// "tool ratio" is the link bound over the bound plus the tool's own time: the ratio the upgrade
// would reach if the device's calls kept to the link's time exactly.
//   orvo-benchmark FOLDER
// FOLDER holds a copy of dist-sim/; its orvo_upgrade.bin is replaced by each image.
#include "DialogControls.h"
#include "ImageMaker.h"
#include "LinkTiming.h"
#include "UpgradeClick.h"
#include "WatchedTool.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <string>

namespace {

using namespace std::chrono_literals;
using orvo::sim::LinkTiming;

constexpr std::size_t kMiB = 1024 * 1024;
constexpr int kRunsPerCase = 5;

struct Result {
    LinkTiming timing;  // the tool's first upgrade after its start
    LinkTiming later;   // a second upgrade by the same tool
    double workingSetGrowthMiB;
};

double ToolMicrosPerBlock(const LinkTiming& timing) {
    return static_cast<double>((timing.span - timing.inCalls).count()) / 1000.0 /
           static_cast<double>(timing.dataFrames);
}

void WriteImage(const std::string& path, std::size_t size) {
    // A quarter internal, the rest external in two segments, as real images come.
    const orvo::image::Bytes image =
        orvo::image::MakeRandomImage({size / 4, size / 2, size - size / 4 - size / 2});
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
}

std::optional<Result> RunOnce(const std::wstring& folder, int linkMicros) {
    const std::string narrow(folder.begin(), folder.end());
    const std::wstring timingFile = folder + L"\\timing.txt";
    DeleteFileW(timingFile.c_str());
    auto tool = orvo::drive::StartWatchedTool(
        folder, {{L"ORVO_SIM_LATENCY_US", std::to_wstring(linkMicros)},
                 {L"ORVO_SIM_TIMING", timingFile},
                 {L"ORVO_SIM_FAULTS", std::nullopt},
                 {L"ORVO_SIM_OUTPUT", std::nullopt}});
    if (!tool) {
        std::fprintf(stderr, "orvo-benchmark: the tool's window did not come\n");
        return std::nullopt;
    }
    const SIZE_T before = orvo::drive::MemoryCounters(tool->process.Get()).WorkingSetSize;
    SIZE_T peak = 0;
    for (int upgrade = 0; upgrade < 2; ++upgrade) {
        if (!orvo::drive::ClickStartUpgradeAndWait(tool->window, false, 600s)) {
            std::fprintf(stderr, "orvo-benchmark: the upgrade did not end\n");
            return std::nullopt;
        }
        if (upgrade == 0) {
            peak = orvo::drive::MemoryCounters(tool->process.Get()).PeakWorkingSetSize;
        }
    }
    tool->window.Click(orvo::control::kExit);
    tool->program.WaitForEnd(30s);
    std::ifstream lines(narrow + "\\timing.txt");
    std::string first;
    std::string second;
    std::getline(lines, first);
    std::getline(lines, second);
    const auto timing = orvo::sim::ParseLinkTiming(first);
    const auto later = orvo::sim::ParseLinkTiming(second);
    if (!timing || !later) {
        std::fprintf(stderr, "orvo-benchmark: the device reported no timing\n");
        return std::nullopt;
    }
    const double growth = peak > before ? static_cast<double>(peak - before) / kMiB : 0.0;
    return Result{*timing, *later, growth};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvo-benchmark FOLDER\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    const std::string image = std::string(folder.begin(), folder.end()) + "\\orvo_upgrade.bin";
    std::printf("%-6s %8s %10s %10s %8s %10s %14s %6s %8s %12s\n", "image", "link", "link-bound",
                "measured", "ratio", "tool-ratio", "tool-us/block", "mean", "later", "peak-WS/MiB");
    for (std::size_t mib : {1, 16}) {
        WriteImage(image, mib * kMiB);
        for (int micros : {1000, 125, 0}) {
            std::optional<Result> result;
            std::optional<LinkTiming> later;
            double sumOfToolMicros = 0;
            for (int run = 0; run < kRunsPerCase; ++run) {
                const auto next = RunOnce(folder, micros);
                if (!next) {
                    return 1;
                }
                sumOfToolMicros += ToolMicrosPerBlock(next->timing);
                if (!result || next->timing.span < result->timing.span) {
                    result = next;
                }
                if (!later || next->later.span < later->span) {
                    later = next->later;
                }
            }
            const LinkTiming& t = result->timing;
            const double boundMs = static_cast<double>(t.transfers) * micros / 1000.0;
            const double spanMs = t.span.count() / 1e6;
            const double ownMs = static_cast<double>((t.span - t.inCalls).count()) / 1e6;
            char ratio[16] = "-";
            char toolRatio[16] = "-";
            if (micros > 0) {
                std::snprintf(ratio, sizeof ratio, "%.2f%%", 100.0 * boundMs / spanMs);
                std::snprintf(toolRatio, sizeof toolRatio, "%.2f%%",
                              100.0 * boundMs / (boundMs + ownMs));
            }
            std::printf("%3zu MiB %6d us %8.1f ms %7.1f ms %8s %10s %14.1f %6.1f %8.1f %12.2f\n",
                        mib, micros, boundMs, spanMs, ratio, toolRatio, ToolMicrosPerBlock(t),
                        sumOfToolMicros / kRunsPerCase, ToolMicrosPerBlock(*later),
                        result->workingSetGrowthMiB / static_cast<double>(mib));
            std::fflush(stdout);
        }
    }
    return 0;
}

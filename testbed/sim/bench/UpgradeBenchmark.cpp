// A whole upgrade against the simulated device: the tool's own cost per run (no latency), and
// runs over a modelled USB link where every transfer takes the given microseconds.
#include "DeviceLink.h"
#include "FakeDialogControls.h"
#include "ImageMaker.h"
#include "RecordingView.h"
#include "SimulatedDevice.h"
#include "TempFolder.h"
#include "UpgradeTransfer.h"

#include <benchmark/benchmark.h>

#include <string>

namespace orvo {
namespace {

void WholeUpgrade(benchmark::State& state) {
    const auto internalSize = static_cast<std::size_t>(state.range(0));
    const auto latency = std::chrono::microseconds(state.range(1));
    testing::TempFolder folder;
    const image::Bytes image =
        image::MakeRandomImage({internalSize, 3 * internalSize, internalSize});
    folder.Write("image.bin", std::string(image.begin(), image.end()));
    folder.Write("CONFIG.INI", "[FILE_PATH]\r\nUPGRADE_FILE=image.bin\r\n");
    testing::ScopedCurrentDir inFolder(folder.Path());
    testing::FakeDialogControls controls;
    controls.SetChecked(control::kUpgradeInternal, true);
    controls.SetChecked(control::kUpgradeExternal, true);
    TransferKit kit;
    for (auto _ : state) {
        state.PauseTiming();
        sim::SimulatedDevice device;  // fresh, so its traffic record does not grow
        device.SetLatency(latency);
        testing::RecordingView texts;
        DeviceLink link(device, texts);
        state.ResumeTiming();
        if (RunUpgrade(link, ChosenParts(controls), texts, false, kit) != 1) {
            state.SkipWithError("upgrade failed");
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(image.size()));
}

BENCHMARK(WholeUpgrade)
    ->Args({64 * 1024, 0})
    ->Args({1024 * 1024, 0})
    ->Args({64 * 1024, 125})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvo

BENCHMARK_MAIN();

// A whole upgrade of any file into the simulated device: a file the rules accept arrives part
// for part, byte for byte, with the progress bar counting every block and no protocol error;
// any other file is refused before the first frame.
//
// Input: a flag byte (bit 0: internal part ticked, bit 1: external part ticked, bit 2: the
// alternative file, bit 3: the file is missing), then the upgrade file's bytes.
#include "DeviceLink.h"
#include "FakeDialogControls.h"
#include "FuzzCheck.h"
#include "ImageModel.h"
#include "RecordingView.h"
#include "SimulatedDevice.h"
#include "UpgradeTransfer.h"

namespace {

using namespace orvo::fuzz;
using Bytes = std::vector<std::uint8_t>;

std::vector<int> Counting(std::uint64_t blocks) {
    std::vector<int> positions;
    for (std::uint64_t k = 0; k <= blocks; ++k) positions.push_back(static_cast<int>(k));
    return positions;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    EnterScratchFolder();
    WriteFile("CONFIG.INI",
              "[FILE_PATH]\r\nUPGRADE_FILE=image.bin\r\nUPGRADE_FILE_KWOR_OBDII=alt.bin\r\n");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::uint8_t flags = input.Byte();
    const bool internal = flags & 1;
    const bool external = flags & 2;
    const bool alternative = flags & 4;
    const bool missing = flags & 8;
    const std::string file = input.Rest();
    RemoveFile("image.bin");
    RemoveFile("alt.bin");
    if (!missing)
        WriteFile(alternative ? "alt.bin" : "image.bin", file);

    orvo::sim::SimulatedDevice device;
    orvo::testing::RecordingView texts;
    orvo::testing::FakeDialogControls controls;
    controls.SetChecked(orvo::control::kUpgradeInternal, internal);
    controls.SetChecked(orvo::control::kUpgradeExternal, external);
    orvo::DeviceLink link(device, texts);
    static orvo::TransferKit kit;  // kept across inputs, as the tool keeps it
    const int result = orvo::RunUpgrade(link, ChosenParts(controls), texts, alternative, kit);

    const Bytes bytes(file.begin(), file.end());
    const image::Layout layout =
        image::Read(Bytes(bytes.begin(), bytes.begin() + std::min<std::size_t>(bytes.size(), 256)),
                    bytes.size());
    if (missing) {
        FUZZ_CHECK(result == 0 && device.Traffic().empty());
        FUZZ_CHECK(texts.messages == std::vector<std::string>{"T9"});
        return 0;
    }
    if (layout.fault != orvo::ImageFault::kNone || (internal && layout.internalSize == 0)) {
        FUZZ_CHECK(result == 0 && device.Traffic().empty());
        FUZZ_CHECK(texts.messages == std::vector<std::string>{"T9"});
        FUZZ_CHECK(texts.StatusKey() == "T3");
        return 0;
    }

    FUZZ_CHECK_SAYING(result == 1,
                      "refused: message " + (texts.messages.empty() ? "none" : texts.messages[0]));
    FUZZ_CHECK(texts.messages.empty());
    FUZZ_CHECK(texts.StatusKey() == "T2");
    FUZZ_CHECK(device.ProtocolErrors().empty());
    FUZZ_CHECK(device.UpgradeEnded() == (internal || external));
    const auto internalStart = bytes.begin() + 256;
    const auto externalStart = internalStart + static_cast<std::ptrdiff_t>(layout.internalSize);
    FUZZ_CHECK(device.InternalPart() == (internal ? Bytes(internalStart, externalStart) : Bytes()));
    FUZZ_CHECK(device.ExternalPart() == (external ? Bytes(externalStart, bytes.end()) : Bytes()));

    std::vector<int> positions;
    if (internal) {
        const auto counted = Counting(image::Blocks(layout.internalSize, 4352));
        positions.insert(positions.end(), counted.begin(), counted.end());
    }
    if (external) {
        const auto counted = Counting(image::Blocks(layout.externalSize, 4096));
        positions.insert(positions.end(), counted.begin(), counted.end());
    }
    FUZZ_CHECK(texts.bar.positions == positions);
    return 0;
}

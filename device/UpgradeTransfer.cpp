#include "UpgradeTransfer.h"

#include "Frames.h"
#include "IniDocument.h"
#include "SettingsFiles.h"
#include "SettingsKeys.h"
#include "TextKeys.h"
#include "UpgradeImage.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace orvo {
namespace {

// One part of the image: where it lies in the file and how it travels.
struct Part {
    std::uint64_t fileOffset;
    std::uint64_t size;
    int blockSize;
    std::uint8_t startCommand;
    const char* statusKey;
    bool labelsBlocks;  // the status key follows the segment of each block
};

// Devices whose serial number begins with one of these take the alternative upgrade file.
constexpr char kAlternativePrefixes[][7] = {"963697", "963695"};
constexpr std::size_t kPrefixLength = 6;

}  // namespace

bool TakesAlternativeFile(const std::uint8_t* serial) {
    for (const char* prefix : kAlternativePrefixes) {
        if (std::memcmp(serial, prefix, kPrefixLength) == 0) {
            return true;
        }
    }
    return false;
}

std::optional<std::string> UpgradeFilePath(bool alternativeFile) {
    IniDocument config;
    if (!config.Load(settings::ConfigFile())) {
        return std::nullopt;
    }
    return config.GetString(settings::kSectionFilePath, alternativeFile
                                                            ? settings::kKeyUpgradeFileAlternative
                                                            : settings::kKeyUpgradeFile);
}

TransferKit::TransferKit()
    : frame(static_cast<std::size_t>(std::max(kInternalBlockSize, kExternalBlockSize) +
                                     kDataFrameOverhead)) {}

UpgradeFileRead ReadUpgradeFile(const std::string& path, UpgradeFile& file) {
    const std::optional<std::uint64_t> length = file.kit.reader.Open(path);
    if (!length) {
        return UpgradeFileRead::kUnreadable;
    }
    std::uint8_t header[kImageHeaderLength];
    const auto headerLength =
        static_cast<std::size_t>(std::min<std::uint64_t>(*length, kImageHeaderLength));
    if (!file.kit.reader.Read(header, headerLength)) {
        return UpgradeFileRead::kUnreadable;
    }
    file.layout = ReadImageLayout(header, headerLength, *length);
    return file.layout.fault == ImageFault::kNone ? UpgradeFileRead::kRead
                                                  : UpgradeFileRead::kRefused;
}

namespace {

class UpgradeRun {
public:
    UpgradeRun(DeviceLink& link, TechnicianView& view, UpgradeFile& file)
        : link_(link), view_(view), file_(file) {}

    bool SendPart(const Part& part) {
        const auto count = static_cast<std::uint32_t>(BlockCount(part.size, part.blockSize));
        view_.SetStatusKey(part.statusKey);
        view_.StartProgress(static_cast<int>(count));
        // Parts sent in order follow one another in the file, where the reader already stands.
        if (!file_.kit.reader.Seek(part.fileOffset)) {
            return FileUnreadable();
        }
        CommandPayload announce{};
        PutBigEndian16(announce.data(), count);
        if (!SendCommand(part.startCommand, announce)) {
            return false;
        }
        for (std::uint32_t index = 0; index < count; ++index) {
            if (!SendBlock(part, index)) {
                return false;
            }
            view_.SetProgress(static_cast<int>(index + 1));
        }
        return true;
    }

    bool SendEnd() { return SendCommand(command::kEndUpgrade, CommandPayload{}); }

private:
    bool SendBlock(const Part& part, std::uint32_t index) {
        const std::uint64_t start = std::uint64_t{index} * part.blockSize;
        const auto length =
            static_cast<unsigned>(std::min<std::uint64_t>(part.blockSize, part.size - start));
        if (part.labelsBlocks) {
            if (const std::string* label = file_.layout.LabelAt(part.fileOffset + start)) {
                view_.SetStatusKey(*label);
            }
        }
        // One frame buffer for every block, so a block costs no allocation. The block is read
        // straight into it before it is announced, and a short last block is followed by zeros.
        const int frameLength = part.blockSize + kDataFrameOverhead;
        std::uint8_t* frame = file_.kit.frame.data();
        std::uint8_t* block = frame + kDataFrameHeaderLength;
        if (!file_.kit.reader.Read(block, length)) {
            return FileUnreadable();
        }
        std::fill(block + length, block + part.blockSize, std::uint8_t{0});
        BuildFrame(frame, frameLength, frame, kDataFrame, -1);
        CommandPayload announce{};
        PutBigEndian16(announce.data(), length);
        PutBigEndian16(announce.data() + 2, index);
        if (!SendCommand(command::kAnnounceBlock, announce)) {
            return false;
        }
        ReplyFrame reply;
        return Succeeded(link_.ExchangeData(frame, frameLength, reply), reply);
    }

    bool SendCommand(std::uint8_t code, const CommandPayload& payload) {
        ReplyFrame reply;
        return Succeeded(link_.ExchangeCommand(code, payload, reply), reply);
    }

    // The file changed or went away since its header was checked. The device has heard nothing
    // of what could not be read.
    bool FileUnreadable() {
        view_.ReportFailure(text::kUpgradeFileUnusable);
        return false;
    }

    // Any reply but the failure code is acceptance; a failure ends the run at once.
    bool Succeeded(int exchange, const ReplyFrame& reply) {
        if (exchange < 0) {
            link_.ReportDeviceError(reply[kErrorCodeOffset]);
            return false;
        }
        return true;
    }

    DeviceLink& link_;
    TechnicianView& view_;
    UpgradeFile& file_;
};

}  // namespace

PartChoice ChosenParts(DialogControls& controls) {
    return {controls.IsChecked(control::kUpgradeInternal),
            controls.IsChecked(control::kUpgradeExternal)};
}

int RunUpgrade(DeviceLink& link, PartChoice parts, TechnicianView& view, bool alternativeFile,
               TransferKit& kit) {
    const std::optional<std::string> path = UpgradeFilePath(alternativeFile);
    if (!path) {
        view.ShowLangMessage(text::kConfigUnreadable);
        return 0;
    }
    UpgradeFile file(kit);
    const UpgradeFileRead read = ReadUpgradeFile(*path, file);
    if (read == UpgradeFileRead::kUnreadable) {
        view.ShowLangMessage(text::kUpgradeFileUnusable);
        return 0;
    }
    // A technician must learn why nothing was sent, so a refused file is reported like a
    // failed run, before any frame.
    if (read == UpgradeFileRead::kRefused) {
        view.ReportFailure(text::kUpgradeFileUnusable);
        return 0;
    }
    return SendUpgrade(link, parts, view, file);
}

int SendUpgrade(DeviceLink& link, PartChoice parts, TechnicianView& view, UpgradeFile& file) {
    const ImageLayout& layout = file.layout;
    if (parts.internal && layout.internalSize == 0) {
        view.ReportFailure(text::kUpgradeFileUnusable);
        return 0;
    }
    const std::uint64_t externalOffset = kImageHeaderLength + layout.internalSize;
    const Part internal{
        kImageHeaderLength,      layout.internalSize,    kInternalBlockSize,
        command::kStartInternal, text::kSendingInternal, false,
    };
    const Part external{
        externalOffset,          layout.externalSize,    kExternalBlockSize,
        command::kStartExternal, text::kSendingExternal, true,
    };
    UpgradeRun run(link, view, file);
    if ((parts.internal && !run.SendPart(internal)) ||
        (parts.external && !run.SendPart(external))) {
        return 0;
    }
    if ((parts.internal || parts.external) && !run.SendEnd()) {
        return 0;
    }
    view.SetStatusKey(text::kUpgradeDone);
    return 1;
}

}  // namespace orvo

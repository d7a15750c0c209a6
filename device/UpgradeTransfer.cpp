#include "UpgradeTransfer.h"

#include "DurableFile.h"
#include "Frames.h"
#include "IniDocument.h"
#include "KeepAwake.h"
#include "SettingsFiles.h"
#include "SettingsKeys.h"
#include "Sha256.h"
#include "TextCodec.h"
#include "TextKeys.h"
#include "UpgradeImage.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <new>
#include <optional>
#include <string_view>
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

// A read of the file serves some fifteen blocks, and this buffer and the frames are all the
// memory the file takes however large it is. Under Wine 256 KiB read only a little faster.
constexpr std::size_t kReadBufferSize = 64 * 1024;

bool ReadBytes(std::istream& file, std::uint8_t* into, std::uint64_t count) {
    file.read(reinterpret_cast<char*>(into), static_cast<std::streamsize>(count));
    return static_cast<std::uint64_t>(file.gcount()) == count;
}

// The file opened as a stream, read block by block as it is sent.
bool OpenStreamed(const std::string& path, UpgradeFile& file) {
    std::ifstream& stream = file.stream;
    // Set before the file is opened, which is when the stream takes a buffer.
    std::vector<char>& buffer = file.kit.readBuffer;
    stream.rdbuf()->pubsetbuf(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    stream.open(FileSystemPath(path), std::ios::binary);
    return static_cast<bool>(stream);
}

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
    // The settings are in the ANSI code page, paths in UTF-8.
    return Utf8FromAnsi(config.GetString(
        settings::kSectionFilePath,
        alternativeFile ? settings::kKeyUpgradeFileAlternative : settings::kKeyUpgradeFile));
}

TransferKit::TransferKit() : readBuffer(kReadBufferSize) {}

UpgradeFileRead ReadUpgradeFile(const std::string& path, UpgradeFile& file) {
    file.approvals = LoadApprovedImages(settings::ApprovedImagesFile());
    if (file.approvals.state == ApprovedImageList::State::kNoList) {
        if (!OpenStreamed(path, file)) {
            return UpgradeFileRead::kUnreadable;
        }
    } else {
        // One read, whose bytes are both summed and sent.
        std::optional<std::string> bytes;
        try {
            bytes = ReadWholeFile(path);
        } catch (const std::bad_alloc&) {  // larger than the memory a process may take
        }
        if (!bytes) {
            return UpgradeFileRead::kUnreadable;
        }
        file.sha256 =
            Sha256Hex(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size());
        if (!file.approvals.Approves(file.sha256)) {
            return UpgradeFileRead::kNotApproved;
        }
        file.held.Hold(std::move(*bytes));
    }
    std::istream& stream = file.Source();
    if (!stream.seekg(0, std::ios::end)) {
        return UpgradeFileRead::kUnreadable;
    }
    const std::streamoff end = stream.tellg();
    if (end < 0 || !stream.seekg(0)) {
        return UpgradeFileRead::kUnreadable;
    }
    const auto length = static_cast<std::uint64_t>(end);
    std::uint8_t header[kImageHeaderLength];
    const std::uint64_t headerLength = std::min<std::uint64_t>(length, kImageHeaderLength);
    if (!ReadBytes(stream, header, headerLength)) {
        return UpgradeFileRead::kUnreadable;
    }
    file.layout = ReadImageLayout(header, static_cast<std::size_t>(headerLength), length);
    return file.layout.fault == ImageFault::kNone ? UpgradeFileRead::kRead
                                                  : UpgradeFileRead::kRefused;
}

std::optional<std::string> UpgradeFileSha256(UpgradeFile& file) {
    if (file.held.Holds()) {
        return file.sha256;
    }
    file.stream.clear();
    file.stream.seekg(0);
    return Sha256Hex(file.stream);
}

namespace {

class UpgradeRun {
public:
    UpgradeRun(DeviceLink& link, TechnicianView& view, UpgradeFile& file)
        : link_(link), view_(view), file_(file) {}
    // However the run ends, the frames' thread leaves the file before anything else reads it.
    ~UpgradeRun() { file_.kit.frames.Stop(); }
    UpgradeRun(const UpgradeRun&) = delete;
    UpgradeRun& operator=(const UpgradeRun&) = delete;

    bool SendPart(const Part& part) {
        const auto count = static_cast<std::uint32_t>(BlockCount(part.size, part.blockSize));
        view_.SetStatusKey(part.statusKey);
        view_.StartProgress(static_cast<int>(count));
        if (!file_.kit.frames.Start(file_.Source(), part.fileOffset, part.size, part.blockSize)) {
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
        // Built ahead, in frames kept from run to run, so a block costs no allocation; a block
        // that could not be read is not announced.
        std::uint8_t* frame = file_.kit.frames.Next();
        if (frame == nullptr) {
            return FileUnreadable();
        }
        CommandPayload announce{};
        PutBigEndian16(announce.data(), length);
        PutBigEndian16(announce.data() + 2, index);
        if (!SendCommand(command::kAnnounceBlock, announce)) {
            return false;
        }
        ReplyFrame reply;
        return Succeeded(link_.ExchangeData(frame, part.blockSize + kDataFrameOverhead, reply),
                         reply);
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
    if (read == UpgradeFileRead::kNotApproved) {
        view.ReportFailure(text::kImageNotApproved, {FromUtf8(*path)});
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
    // The PC stays awake until the device has its whole image, or the run has failed.
    const KeepAwake awake;
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

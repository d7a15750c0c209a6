#include "PeFile.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace orvo::testbed {

namespace {

constexpr std::uint16_t kOptionalMagicPe32 = 0x10B;
constexpr std::uint16_t kOptionalMagicPe32Plus = 0x20B;
constexpr std::uint32_t kExportDirectory = 0;
constexpr std::uint32_t kImportDirectory = 1;
constexpr std::uint32_t kResourceDirectory = 2;
constexpr std::uint32_t kFixedFileInfoSignature = 0xFEEF04BD;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kImportDescriptorSize = 20;
constexpr std::uint32_t kManifestType = 24;      // RT_MANIFEST
constexpr std::uint32_t kProcessManifestId = 1;  // CREATEPROCESS_MANIFEST_RESOURCE_ID
// In a resource directory entry: a name given as a string; data that is a directory below.
constexpr std::uint32_t kHighBit = 0x80000000u;

struct Malformed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Little-endian reads that refuse to pass the end of the file.
class Bytes {
public:
    explicit Bytes(std::vector<unsigned char> data) : data_(std::move(data)) {}

    std::uint64_t Read(std::size_t offset, std::size_t width) const {
        Need(offset, width);
        std::uint64_t value = 0;
        for (std::size_t i = width; i-- > 0;) {
            value = value << 8 | data_[offset + i];
        }
        return value;
    }
    std::uint16_t U16(std::size_t offset) const {
        return static_cast<std::uint16_t>(Read(offset, 2));
    }
    std::uint32_t U32(std::size_t offset) const {
        return static_cast<std::uint32_t>(Read(offset, 4));
    }
    std::size_t Size() const { return data_.size(); }
    std::string Slice(std::size_t offset, std::size_t width) const {
        Need(offset, width);
        const auto begin = data_.begin() + static_cast<std::ptrdiff_t>(offset);
        return std::string(begin, begin + static_cast<std::ptrdiff_t>(width));
    }

    std::string Text(std::size_t offset) const {
        Need(offset, 1);
        const auto begin = data_.begin() + static_cast<std::ptrdiff_t>(offset);
        const auto end = std::find(begin, data_.end(), 0);
        if (end == data_.end()) {
            throw Malformed("a name runs to the end of the file");
        }
        return std::string(begin, end);
    }

private:
    void Need(std::size_t offset, std::size_t width) const {
        if (offset > data_.size() || width > data_.size() - offset) {
            throw Malformed("a header points past the end of the file");
        }
    }

    std::vector<unsigned char> data_;
};

struct Section {
    std::uint32_t address, size, fileOffset;
};

class Image {
public:
    explicit Image(Bytes bytes) : bytes_(std::move(bytes)) {
        if (bytes_.U16(0) != 0x5A4D) {
            throw Malformed("no MZ signature");
        }
        const std::size_t pe = bytes_.U32(0x3C);
        if (bytes_.U32(pe) != 0x00004550) {
            throw Malformed("no PE signature");
        }
        const std::size_t coff = pe + 4;
        file_.machine = bytes_.U16(coff);
        const std::size_t sectionCount = bytes_.U16(coff + 2);
        const std::size_t optionalSize = bytes_.U16(coff + 16);
        optional_ = coff + 20;
        const std::uint16_t magic = bytes_.U16(optional_);
        if (magic != kOptionalMagicPe32 && magic != kOptionalMagicPe32Plus) {
            throw Malformed("unknown optional header");
        }
        wide_ = magic == kOptionalMagicPe32Plus;
        file_.subsystem = bytes_.U16(optional_ + 68);
        directoryCount_ = bytes_.U32(optional_ + (wide_ ? 108 : 92));
        directories_ = optional_ + (wide_ ? 112 : 96);
        for (std::size_t i = 0; i < sectionCount; ++i) {
            const std::size_t header = optional_ + optionalSize + i * kSectionHeaderSize;
            sections_.push_back({bytes_.U32(header + 12),
                                 std::max(bytes_.U32(header + 8), bytes_.U32(header + 16)),
                                 bytes_.U32(header + 20)});
        }
        ReadExports();
        ReadImports();
        ReadFileVersion();
        ReadManifest();
    }

    PeFile Result() const { return file_; }

private:
    // The directory's address, or 0 when the file has none.
    std::uint32_t Directory(std::uint32_t index) const {
        return index < directoryCount_ ? bytes_.U32(directories_ + index * 8) : 0;
    }

    std::size_t Offset(std::uint64_t address) const {
        for (const Section& s : sections_) {
            if (address >= s.address && address - s.address < s.size) {
                return static_cast<std::size_t>(s.fileOffset + (address - s.address));
            }
        }
        throw Malformed("an address lies in no section");
    }

    void ReadExports() {
        const std::uint32_t directory = Directory(kExportDirectory);
        if (directory == 0) {
            return;
        }
        const std::size_t table = Offset(directory);
        const std::uint32_t nameCount = bytes_.U32(table + 24);
        const std::size_t names = Offset(bytes_.U32(table + 32));
        for (std::uint32_t i = 0; i < nameCount; ++i) {
            file_.exports.insert(bytes_.Text(Offset(bytes_.U32(names + i * 4))));
        }
    }

    void ReadImports() {
        const std::uint32_t directory = Directory(kImportDirectory);
        if (directory == 0) {
            return;
        }
        const std::size_t thunkWidth = wide_ ? 8 : 4;
        const std::uint64_t byOrdinal = std::uint64_t{1} << (thunkWidth * 8 - 1);
        for (std::size_t d = Offset(directory);; d += kImportDescriptorSize) {
            const std::uint32_t nameAddress = bytes_.U32(d + 12);
            if (nameAddress == 0) {
                break;
            }
            std::string dll = bytes_.Text(Offset(nameAddress));
            std::transform(dll.begin(), dll.end(), dll.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            auto& names = file_.imports[dll];
            const std::uint32_t lookup = bytes_.U32(d) != 0 ? bytes_.U32(d) : bytes_.U32(d + 16);
            for (std::size_t t = Offset(lookup);; t += thunkWidth) {
                const std::uint64_t thunk = bytes_.Read(t, thunkWidth);
                if (thunk == 0) {
                    break;
                }
                names.insert(thunk & byOrdinal ? "#" + std::to_string(thunk & 0xFFFF)
                                               : bytes_.Text(Offset(thunk) + 2));
            }
        }
    }

    // The version resource's fixed part starts with its signature on a 4-byte boundary of the
    // resource section; its file version follows as two 32-bit halves.
    void ReadFileVersion() {
        const std::uint32_t directory = Directory(kResourceDirectory);
        if (directory == 0) {
            return;
        }
        for (const Section& s : sections_) {
            if (directory < s.address || directory - s.address >= s.size) {
                continue;
            }
            const std::size_t end =
                std::min<std::size_t>(bytes_.Size(), std::size_t{s.fileOffset} + s.size);
            for (std::size_t at = s.fileOffset; at + 16 <= end; at += 4) {
                if (bytes_.U32(at) == kFixedFileInfoSignature) {
                    const std::uint32_t high = bytes_.U32(at + 8), low = bytes_.U32(at + 12);
                    file_.fileVersion =
                        std::to_string(high >> 16) + "." + std::to_string(high & 0xFFFF) + "." +
                        std::to_string(low >> 16) + "." + std::to_string(low & 0xFFFF);
                    return;
                }
            }
        }
    }

    // The first entry of the resource directory at `directory` (an offset from the root) whose id
    // is `id`, any entry when `id` is empty: its OffsetToData, or nothing.
    std::optional<std::uint32_t> ResourceEntry(std::size_t directory,
                                               std::optional<std::uint32_t> id) const {
        const std::size_t at = file_.resourceDirectory + directory;
        const std::size_t count = std::size_t{bytes_.U16(at + 12)} + bytes_.U16(at + 14);
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t entry = at + 16 + i * 8;
            const std::uint32_t name = bytes_.U32(entry);
            if (!id || ((name & kHighBit) == 0 && name == *id)) {
                return bytes_.U32(entry + 4);
            }
        }
        return std::nullopt;
    }

    // Resources nest three deep: type, name, language. The manifest is type 24, id 1, in its first
    // language (it is stored once).
    void ReadManifest() {
        const std::uint32_t directory = Directory(kResourceDirectory);
        if (directory == 0) {
            return;
        }
        file_.resourceDirectory = Offset(directory);
        std::uint32_t next = 0;
        for (const std::uint32_t id : {kManifestType, kProcessManifestId}) {
            const std::optional<std::uint32_t> entry = ResourceEntry(next & ~kHighBit, id);
            if (!entry) {
                return;
            }
            if ((*entry & kHighBit) == 0) {
                throw Malformed("the resource directory ends before its language level");
            }
            next = *entry;
        }
        // The language level's entry points at the data: its address and size.
        const std::optional<std::uint32_t> data = ResourceEntry(next & ~kHighBit, std::nullopt);
        if (!data || (*data & kHighBit) != 0) {
            throw Malformed("the manifest's resource entry holds no data");
        }
        const std::size_t dataEntry = file_.resourceDirectory + *data;
        file_.manifest = bytes_.Slice(Offset(bytes_.U32(dataEntry)), bytes_.U32(dataEntry + 4));
    }

    Bytes bytes_;
    PeFile file_;
    std::size_t optional_ = 0;
    bool wide_ = false;
    std::uint32_t directoryCount_ = 0;
    std::size_t directories_ = 0;
    std::vector<Section> sections_;
};

}  // namespace

std::optional<PeFile> ReadPeFile(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return std::nullopt;
    }
    std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    try {
        return Image(Bytes(std::move(data))).Result();
    } catch (const Malformed& e) {
        error = path + ": " + e.what();
        return std::nullopt;
    }
}

}  // namespace orvo::testbed

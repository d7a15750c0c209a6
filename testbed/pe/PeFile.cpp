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
    std::uint16_t U16(std::size_t offset) const { return static_cast<std::uint16_t>(Read(offset, 2)); }
    std::uint32_t U32(std::size_t offset) const { return static_cast<std::uint32_t>(Read(offset, 4)); }
    std::size_t Size() const { return data_.size(); }

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

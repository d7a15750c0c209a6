#include "DurableFile.h"

#include <cstdint>
#include <limits>
#include <memory>

namespace orvo {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

std::size_t WriteWithStdio(std::FILE* file, const char* data, std::size_t size) {
    return std::fwrite(data, 1, size, file);
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path) {
    FilePtr file(OpenForReading(path));
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) {
        return std::nullopt;
    }
    long length = std::ftell(file.get());
    if (length < 0 || static_cast<std::uint64_t>(length) >
                          static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
        return std::nullopt;
    }
    std::rewind(file.get());
    std::string bytes(static_cast<std::size_t>(length), '\0');
    if (length > 0 && std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        return std::nullopt;
    }
    return bytes;
}

bool ReplaceFileContents(const std::string& path, std::string_view bytes,
                         const ChunkWriter& write) {
    if (IsReadOnlyFile(path)) {
        return false;
    }
    const std::string temporary = path + ".new";
    bool written = false;
    {
        FilePtr file(OpenFile(temporary, "wb"));
        if (!file) {
            return false;
        }
        const ChunkWriter& writer = write ? write : ChunkWriter(WriteWithStdio);
        written = writer(file.get(), bytes.data(), bytes.size()) == bytes.size() &&
                  FlushToDisk(file.get());
        written = (std::fclose(file.release()) == 0) && written;
    }
    if (!written || !MoveFileOver(temporary, path)) {
        std::error_code ignored;
        std::filesystem::remove(FileSystemPath(temporary), ignored);
        return false;
    }
    return true;
}

bool AppendToFile(const std::string& path, std::string_view bytes, const ChunkWriter& write) {
    FilePtr file(OpenFile(path, "ab"));
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) {
        return false;
    }
    const long oldLength = std::ftell(file.get());
    if (oldLength < 0) {
        return false;
    }
    const std::size_t written =
        (write ? write : WriteWithStdio)(file.get(), bytes.data(), bytes.size());
    const bool durable = written == bytes.size() && FlushToDisk(file.get());
    if (!durable) {
        // Whatever part reached the file would be a broken line: take it back, through this
        // handle and only while the file ends within what this call wrote, so that a record
        // another writer appended meanwhile stays.
        std::fflush(file.get());
        const long newLength =
            std::fseek(file.get(), 0, SEEK_END) == 0 ? std::ftell(file.get()) : -1;
        if (newLength >= oldLength &&
            static_cast<std::uint64_t>(newLength - oldLength) <= bytes.size()) {
            CutBack(file.get(), oldLength);
        }
    }
    return std::fclose(file.release()) == 0 && durable;
}

}  // namespace orvo

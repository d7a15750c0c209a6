#include "ReadAheadFile.h"

#include <algorithm>
#include <cstring>

namespace orvo {
namespace {

// Some fifteen blocks a chunk. Under Wine 256 KiB read only a little faster per block.
constexpr std::size_t kChunkSize = 64 * 1024;

}  // namespace

ReadAheadFile::ReadAheadFile() {
    for (Chunk& chunk : chunks_) {
        chunk.bytes.resize(kChunkSize);  // zeroed, so its pages are touched now
    }
}

std::optional<std::uint64_t> ReadAheadFile::Open(const std::string& path) {
    Close();
    // The chunks are the only buffer; set before the file is opened, which is when it counts.
    file_.rdbuf()->pubsetbuf(nullptr, 0);
    file_.open(path, std::ios::binary);
    if (!file_ || !file_.seekg(0, std::ios::end)) {
        return std::nullopt;
    }
    const std::streamoff end = file_.tellg();
    if (end < 0 || !ReadFrom(0)) {
        return std::nullopt;
    }
    open_ = true;
    return static_cast<std::uint64_t>(end);
}

void ReadAheadFile::Close() {
    reader_.WaitForEnd();
    file_.close();
    file_.clear();
    for (Chunk& chunk : chunks_) {
        chunk.offset = 0;
        chunk.length = 0;
    }
    taken_ = 0;
    open_ = false;
}

std::uint64_t ReadAheadFile::Position() const {
    return chunks_[current_].offset + taken_;
}

bool ReadAheadFile::Seek(std::uint64_t offset) {
    const Chunk& current = chunks_[current_];
    if (open_ && offset >= current.offset && offset - current.offset <= current.length) {
        taken_ = static_cast<std::size_t>(offset - current.offset);
        return true;
    }
    return open_ && ReadFrom(offset);
}

bool ReadAheadFile::ReadFrom(std::uint64_t offset) {
    reader_.WaitForEnd();
    file_.clear();
    if (!file_.seekg(static_cast<std::streamoff>(offset))) {
        return false;
    }
    Chunk& current = chunks_[current_];
    current.offset = offset;
    Fill(current);
    taken_ = 0;
    ReadAheadIfMore();
    return true;
}

bool ReadAheadFile::Read(std::uint8_t* into, std::size_t count) {
    for (;;) {
        const Chunk& current = chunks_[current_];
        const std::size_t part = std::min(count, current.length - taken_);
        std::memcpy(into, current.bytes.data() + taken_, part);
        into += part;
        count -= part;
        taken_ += part;
        if (count == 0) {
            return true;
        }
        if (!TakeNextChunk()) {
            return false;
        }
    }
}

void ReadAheadFile::Fill(Chunk& chunk) {
    file_.read(reinterpret_cast<char*>(chunk.bytes.data()),
               static_cast<std::streamsize>(kChunkSize));
    chunk.length = static_cast<std::size_t>(file_.gcount());
}

void ReadAheadFile::ReadAheadIfMore() {
    const Chunk& current = chunks_[current_];
    if (current.length < kChunkSize) {
        return;  // the file ended there, or failed
    }
    Chunk* ahead = &chunks_[1 - current_];
    ahead->offset = current.offset + current.length;
    ahead->length = 0;
    // The thread is idle here, so this only fails once it was released, and then reads inline.
    if (!reader_.Start([this, ahead] { Fill(*ahead); })) {
        Fill(*ahead);
    }
}

bool ReadAheadFile::TakeNextChunk() {
    if (chunks_[current_].length < kChunkSize) {
        return false;
    }
    reader_.WaitForEnd();
    current_ = 1 - current_;
    taken_ = 0;
    if (chunks_[current_].length == 0) {
        return false;
    }
    ReadAheadIfMore();
    return true;
}

}  // namespace orvo

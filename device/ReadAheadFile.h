#pragma once
// A file read front to back, the next 64 KiB on a thread of its own while the caller takes
// bytes from the last 64 KiB: an upgrade's worker then never waits for the disk between two
// transfers. Under Wine a read of 64 KiB costs 15 to 50 µs, which fell on every sixteenth block.
//
// Made once and kept from run to run: its thread and its two buffers are set up when it is
// made, since under Wine a thread costs about a millisecond to start and a fresh page 10 to
// 25 µs. One caller at a time.
#include "WorkerThread.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace orvo {

class ReadAheadFile {
public:
    ReadAheadFile();
    ReadAheadFile(const ReadAheadFile&) = delete;
    ReadAheadFile& operator=(const ReadAheadFile&) = delete;

    // Opens `path` at its start, closing the file open before, and returns its length; nothing
    // when it cannot be opened or measured.
    std::optional<std::uint64_t> Open(const std::string& path);
    void Close();
    // Where the next Read starts.
    std::uint64_t Position() const;
    // Moves to `offset`: within the bytes at hand at no cost, else reading again from there.
    // False when the file cannot go there.
    bool Seek(std::uint64_t offset);
    // Copies the next `count` bytes into `into`. False when the file ended or failed first.
    bool Read(std::uint8_t* into, std::size_t count);

private:
    struct Chunk {
        std::vector<std::uint8_t> bytes;
        std::uint64_t offset = 0;  // in the file, of bytes[0]
        std::size_t length = 0;    // read into it; short only at the end or a failure
    };
    // Reads the current chunk from `offset` at once, and the next one ahead.
    bool ReadFrom(std::uint64_t offset);
    void Fill(Chunk& chunk);
    // Starts reading the chunk after the current one when the current one was read whole.
    void ReadAheadIfMore();
    bool TakeNextChunk();

    std::ifstream file_;
    Chunk chunks_[2];
    int current_ = 0;        // the chunk Read takes from; the other is read ahead
    std::size_t taken_ = 0;  // bytes of the current chunk already taken
    bool open_ = false;      // kept apart from file_, which the thread may be reading
    // Last member: destroyed first, so a read ahead running then ends while all it uses lives.
    WorkerThread reader_;
};

}  // namespace orvo

#pragma once
// The data frames of one part of an upgrade file, read and built on a thread of their own some
// blocks ahead of the sending, so the worker spends nothing between two transfers on the file,
// the copy or the checksum. Under Wine on a virtual machine those cost it 2 to 3 µs a block,
// with the caches cold after each transfer, and a read of the file 15 to 50 µs every sixteenth.
//
// Made once and kept from run to run: its thread and its frames are set up when it is made,
// since under Wine a thread costs about a millisecond to start and a fresh page 10 to 25 µs.
// One caller at a time.
#include "WaitLock.h"
#include "WorkerThread.h"

#include <cstdint>
#include <istream>
#include <vector>

namespace orvo {

class FramesAhead {
public:
    FramesAhead();
    ~FramesAhead();
    FramesAhead(const FramesAhead&) = delete;
    FramesAhead& operator=(const FramesAhead&) = delete;

    // Starts building the frames of the part of `size` bytes at `offset` of `file`, in blocks
    // of `blockSize` (BlockCount of them: an empty part is one empty block), a short last block
    // followed by zeros. False, and nothing started, when the file cannot go to `offset`. The
    // file is not to be touched otherwise until Stop.
    bool Start(std::istream& file, std::uint64_t offset, std::uint64_t size, int blockSize);
    // The next block's frame, of blockSize plus the data frame's overhead, waiting for it if
    // need be; it stays as it is until the next call. Null once the part was sent, or when the
    // block could not be read: the file ended or failed there.
    std::uint8_t* Next();
    // Stops building and waits until the thread has left the file, for a part ended early.
    void Stop();

private:
    void Build();
    // With the lock held: waits for `ready`, counting itself in `waiting` meanwhile.
    template <typename Ready>
    void WaitUntil(bool& waiting, Ready ready);

    std::vector<std::uint8_t> slots_;  // a frame of the largest block each
    // The part being built: set by Start while the thread is idle, read by it alone after.
    std::istream* file_ = nullptr;
    std::uint64_t size_ = 0;
    int blockSize_ = 0;
    WaitLock lock_;               // guards what follows, and wakes the side that waits
    std::uint64_t built_ = 0;     // frames ready, counted from the part's first
    std::uint64_t released_ = 0;  // frames the caller is done with
    bool holding_ = false;        // the caller holds frame `released_`
    bool ended_ = true;           // no more frames come: all built, a block unreadable, stopped
    bool stopping_ = false;
    bool builderWaits_ = false;
    bool callerWaits_ = false;
    // Last member: destroyed first, so a build running then ends while all it uses lives.
    WorkerThread builder_;
};

}  // namespace orvo

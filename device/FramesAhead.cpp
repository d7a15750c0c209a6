#include "FramesAhead.h"

#include "DeviceProtocol.h"
#include "Frames.h"
#include "UpgradeImage.h"

#include <algorithm>
#include <mutex>

namespace orvo {
namespace {

// 136 KiB: two reads of the file's 64 KiB ahead at most.
constexpr std::uint64_t kSlots = 32;
// The builder, stopped with the ring full, is woken once half of it is free again, not at
// every frame sent, since each wake is a call into the system.
constexpr std::uint64_t kWakeBuilderAtFree = kSlots / 2;
constexpr int kSlotSize = std::max(kInternalBlockSize, kExternalBlockSize) + kDataFrameOverhead;

}  // namespace

FramesAhead::FramesAhead() : slots_(kSlots * kSlotSize) {}

FramesAhead::~FramesAhead() {
    Stop();
}

bool FramesAhead::Start(std::istream& file, std::uint64_t offset, std::uint64_t size,
                        int blockSize) {
    Stop();
    // Parts sent in order follow one another in the file, and a seek would drop the bytes the
    // stream already holds.
    const auto at = static_cast<std::streamoff>(offset);
    if (file.tellg() != at) {
        file.clear();
        if (!file.seekg(at)) {
            return false;
        }
    }
    {
        std::lock_guard<WaitLock> guard(lock_);
        file_ = &file;
        size_ = size;
        blockSize_ = blockSize;
        built_ = 0;
        released_ = 0;
        holding_ = false;
        ended_ = false;
        stopping_ = false;
    }
    // Idle after Stop and never released, so the thread takes it.
    return builder_.Start([this] { Build(); });
}

std::uint8_t* FramesAhead::Next() {
    std::lock_guard<WaitLock> guard(lock_);
    if (holding_) {
        ++released_;
        holding_ = false;
        if (builderWaits_ && released_ + kSlots - built_ >= kWakeBuilderAtFree) {
            lock_.WakeAll();
        }
    }
    WaitUntil(callerWaits_, [this] { return built_ > released_ || ended_; });
    if (built_ == released_) {
        return nullptr;
    }
    holding_ = true;
    return slots_.data() + (released_ % kSlots) * kSlotSize;
}

void FramesAhead::Stop() {
    {
        std::lock_guard<WaitLock> guard(lock_);
        stopping_ = true;
        lock_.WakeAll();
    }
    builder_.WaitForEnd();
}

void FramesAhead::Build() {
    std::unique_lock<WaitLock> guard(lock_);
    const int frameLength = blockSize_ + kDataFrameOverhead;
    const auto blockSize = static_cast<std::uint64_t>(blockSize_);
    const std::uint64_t count = BlockCount(size_, blockSize_);
    bool readable = true;
    for (std::uint64_t index = 0; readable && index < count; ++index) {
        WaitUntil(builderWaits_, [this] { return built_ < released_ + kSlots || stopping_; });
        if (stopping_) {
            break;
        }
        std::uint8_t* frame = slots_.data() + (built_ % kSlots) * kSlotSize;
        guard.unlock();
        const std::uint64_t start = index * blockSize;
        const auto length = static_cast<std::streamsize>(std::min(blockSize, size_ - start));
        std::uint8_t* block = frame + kDataFrameHeaderLength;
        readable = file_->read(reinterpret_cast<char*>(block), length).gcount() == length;
        std::fill(block + length, block + blockSize_, std::uint8_t{0});
        BuildFrame(frame, frameLength, frame, kDataFrame, -1);
        guard.lock();
        if (readable) {
            ++built_;
        }
        if (callerWaits_) {
            lock_.WakeAll();
        }
    }
    ended_ = true;
    if (callerWaits_) {
        lock_.WakeAll();
    }
}

template <typename Ready>
void FramesAhead::WaitUntil(bool& waiting, Ready ready) {
    while (!ready()) {
        waiting = true;
        lock_.Wait();
        waiting = false;
    }
}

}  // namespace orvo

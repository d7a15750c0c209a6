#include "SimulatedDevice.h"

#include "DeviceProtocol.h"
#include "Frames.h"
#include "UpgradeImage.h"

#include <algorithm>
#include <thread>

namespace orvo::sim {
namespace {

std::vector<std::uint8_t> ReplyBytes(std::uint8_t code, const std::uint8_t* payload = nullptr) {
    const ReplyFrame reply = BuildReply(code, payload);
    return std::vector<std::uint8_t>(reply.begin(), reply.end());
}

std::vector<std::uint8_t> PositiveReply(std::uint8_t command,
                                        const std::uint8_t* payload = nullptr) {
    return ReplyBytes(static_cast<std::uint8_t>(command + kPositiveReply), payload);
}

std::vector<std::uint8_t> FailureReply(std::uint8_t errorCode) {
    std::uint8_t payload[kPayloadLength] = {errorCode};
    return ReplyBytes(kFailureReply, payload);
}

}  // namespace

SimulatedDevice::SimulatedDevice(const std::string& serial) {
    SetSerialNumber(serial);
}

void SimulatedDevice::SetSerialNumber(const std::string& serial) {
    std::lock_guard<std::mutex> hold(lock_);
    serial_ = serial.substr(0, kSerialLength);
    serial_.resize(kSerialLength, '\0');
}

void SimulatedDevice::AddFault(const Fault& fault) {
    std::lock_guard<std::mutex> hold(lock_);
    faults_.push_back(fault);
}

void SimulatedDevice::ClearFaults() {
    std::lock_guard<std::mutex> hold(lock_);
    faults_.clear();
    unplugged_ = false;
}

void SimulatedDevice::SetLatency(std::chrono::microseconds perTransfer) {
    std::lock_guard<std::mutex> hold(lock_);
    latency_ = perTransfer;
}

void SimulatedDevice::SetEvents(DeviceEvents* events) {
    std::lock_guard<std::mutex> hold(lock_);
    events_ = events;
}

void SimulatedDevice::SetTimingReport(std::function<void(const LinkTiming&)> report) {
    std::lock_guard<std::mutex> hold(lock_);
    timingReport_ = std::move(report);
}

int SimulatedDevice::WriteData(int pipe, unsigned char* data, int length, int) {
    const auto entered = std::chrono::steady_clock::now();
    std::unique_lock<std::mutex> hold(lock_);
    const int result = Write(pipe, data, std::max(length, 0));
    const auto end = entered + latency_;
    hold.unlock();
    WaitUntil(end);
    hold.lock();
    CountTransfer(entered, pipe == pipe::kData);
    return result;
}

int SimulatedDevice::ReadData(int pipe, unsigned char* data, int length, int timeoutMs) {
    const auto entered = std::chrono::steady_clock::now();
    std::unique_lock<std::mutex> hold(lock_);
    const ReadResult read = Read(pipe, data, length);
    const auto end = entered + latency_;
    hold.unlock();
    WaitUntil(end);
    hold.lock();
    CountTransfer(entered, false);
    if (timingDue_ && read.result > 0) {
        if (timingReport_) {
            timingReport_(timing_);
        }
        timing_ = LinkTiming{};
        timingDue_ = false;
    }
    hold.unlock();
    if (read.timedOut) {
        std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
    }
    return read.result;
}

SimulatedDevice::ReadResult SimulatedDevice::Read(int pipe, unsigned char* data, int length) {
    Transfer transfer{Transfer::Direction::kRead, pipe, length, -1, {}};
    if (unplugged_) {
        Record(std::move(transfer));
        return {-1, false};
    }
    if (pipe != pipe::kReply || reply_.bytes.empty() || reply_.withheld) {
        if (pipe != pipe::kReply) {
            protocolErrors_.push_back("read on pipe " + std::to_string(pipe));
        }
        reply_ = Reply{};
        Record(std::move(transfer));
        return {-1, true};
    }
    const int count = std::min(std::max(length, 0), static_cast<int>(reply_.bytes.size()));
    std::copy_n(reply_.bytes.begin(), count, data);
    transfer.bytes.assign(reply_.bytes.begin(), reply_.bytes.begin() + count);
    transfer.result = count;
    reply_ = Reply{};
    Record(std::move(transfer));
    return {count, false};
}

void SimulatedDevice::CountTransfer(std::chrono::steady_clock::time_point entered, bool dataFrame) {
    const auto now = std::chrono::steady_clock::now();
    if (timing_.transfers++ == 0) {
        firstTransfer_ = entered;
    }
    timing_.dataFrames += dataFrame ? 1 : 0;
    timing_.inCalls += now - entered;
    timing_.span = now - firstTransfer_;
}

const Fault* SimulatedDevice::FaultAt(int frame, FaultKind kind) const {
    const auto found = std::find_if(
        faults_.begin(), faults_.end(),
        [frame, kind](const Fault& fault) { return fault.frame == frame && fault.kind == kind; });
    return found == faults_.end() ? nullptr : &*found;
}

int SimulatedDevice::Write(int pipe, const std::uint8_t* data, int length) {
    const int frame = framesWritten_++;
    const auto fault = [this, frame](FaultKind kind) { return FaultAt(frame, kind); };
    if (fault(FaultKind::kUnplugged) != nullptr) {
        unplugged_ = true;
    }
    Transfer transfer{Transfer::Direction::kWrite, pipe, length, -1, {data, data + length}};
    reply_ = Reply{};
    if (unplugged_ || fault(FaultKind::kFailedWrite) != nullptr) {
        Record(std::move(transfer));
        return -1;
    }
    if (const Fault* shortWrite = fault(FaultKind::kShortWrite)) {
        transfer.result =
            shortWrite->value >= 0 ? std::min(shortWrite->value, length - 1) : length - 1;
        const int result = transfer.result;
        Record(std::move(transfer));
        return result;
    }

    // Faults at one frame combine: a failure reply can also come back short.
    const Fault* failure = fault(FaultKind::kFailureReply);
    reply_.bytes = failure != nullptr ? FailureReply(static_cast<std::uint8_t>(failure->value))
                                      : Receive(pipe, data, length);
    if (const Fault* wrongCode = fault(FaultKind::kWrongReplyCode)) {
        const std::uint8_t* payload = reply_.bytes.data() + kPayloadOffset;
        reply_.bytes = ReplyBytes(static_cast<std::uint8_t>(wrongCode->value), payload);
    }
    if (const Fault* shortReply = fault(FaultKind::kShortReply)) {
        const int kept =
            shortReply->value >= 0 ? std::min(shortReply->value, kReplyLength - 1) : 10;
        reply_.bytes.resize(kept);
    }
    reply_.withheld = fault(FaultKind::kNoReply) != nullptr;
    transfer.result = length;
    Record(std::move(transfer));
    return length;
}

std::vector<std::uint8_t> SimulatedDevice::Receive(int pipe, const std::uint8_t* data, int length) {
    if (pipe == pipe::kCommand) {
        return ReceiveCommand(data, length);
    }
    if (pipe == pipe::kData) {
        return ReceiveData(data, length);
    }
    return Refuse(kErrorBadFrame, "frame on pipe " + std::to_string(pipe));
}

std::vector<std::uint8_t> SimulatedDevice::ReceiveCommand(const std::uint8_t* frame, int length) {
    if (!IsCommandFrame(frame, length)) {
        return Refuse(kErrorBadFrame, "bad command frame of " + std::to_string(length) + " bytes");
    }
    const std::uint8_t code = frame[kReplyCodeOffset];
    const bool starts = code == command::kStartInternal || code == command::kStartExternal;
    if (blockAnnounced_ && !starts) {
        blockAnnounced_ = false;
        return Refuse(kErrorOutOfSequence,
                      "command " + std::to_string(code) + " instead of an announced block");
    }
    switch (code) {
        case command::kStartInternal:
            return StartPart(internal_, kInternalBlockSize, frame);
        case command::kStartExternal:
            return StartPart(external_, kExternalBlockSize, frame);
        case command::kAnnounceBlock:
            return AnnounceBlock(frame);
        case command::kEndUpgrade:
            return EndUpgrade();
        case command::kReadSerial:
            return PositiveReply(code, reinterpret_cast<const std::uint8_t*>(serial_.data()));
        case command::kWriteSerial:
            serial_.assign(frame + kPayloadOffset, frame + kPayloadOffset + kSerialLength);
            if (events_ != nullptr) {
                events_->OnSerialWritten(serial_);
            }
            return PositiveReply(code);
        case command::kHandshake:
        case command::kHandshakeNext:
            return PositiveReply(code);
        default:
            return Refuse(kErrorUnknownCommand, "unknown command " + std::to_string(code));
    }
}

std::vector<std::uint8_t> SimulatedDevice::StartPart(PartState& part, int blockSize,
                                                     const std::uint8_t* frame) {
    // A failed run leaves the device in the middle of a part; a start begins anew.
    blockAnnounced_ = false;
    const unsigned count = ReadBigEndian16(frame + kPayloadOffset);
    if (count == 0) {
        return Refuse(kErrorOutOfSequence, "part of 0 blocks announced");
    }
    part = PartState{{}, count, 0, blockSize};
    currentPart_ = &part;
    upgradeEnded_ = false;
    return PositiveReply(frame[kReplyCodeOffset]);
}

std::vector<std::uint8_t> SimulatedDevice::AnnounceBlock(const std::uint8_t* frame) {
    if (currentPart_ == nullptr) {
        return Refuse(kErrorOutOfSequence, "block announced outside a part");
    }
    const PartState& part = *currentPart_;
    const unsigned length = ReadBigEndian16(frame + kPayloadOffset);
    const unsigned index = ReadBigEndian16(frame + kPayloadOffset + 2);
    if (index != part.received || index >= part.announced) {
        return Refuse(kErrorOutOfSequence, "block " + std::to_string(index) + " announced, " +
                                               std::to_string(part.received) + " expected");
    }
    const bool last = index + 1 == part.announced;
    const auto blockSize = static_cast<unsigned>(part.blockSize);
    if (length > blockSize || (!last && length != blockSize)) {
        return Refuse(kErrorOutOfSequence, "block " + std::to_string(index) + " of " +
                                               std::to_string(length) + " bytes");
    }
    blockAnnounced_ = true;
    announcedLength_ = length;
    return PositiveReply(command::kAnnounceBlock);
}

std::vector<std::uint8_t> SimulatedDevice::ReceiveData(const std::uint8_t* frame, int length) {
    if (!blockAnnounced_) {
        return Refuse(kErrorOutOfSequence, "data frame without an announced block");
    }
    blockAnnounced_ = false;
    PartState& part = *currentPart_;
    if (length != part.blockSize + kDataFrameOverhead || !IsDataFrame(frame, length)) {
        return Refuse(kErrorBadFrame, "bad data frame of " + std::to_string(length) + " bytes");
    }
    const std::uint8_t* data = frame + kDataFrameHeaderLength;
    const std::uint8_t* padding = data + announcedLength_;
    if (std::any_of(padding, data + part.blockSize, [](std::uint8_t b) { return b != 0; })) {
        return Refuse(kErrorBadFrame, "data frame padded with other bytes than 0");
    }
    if (keepTraffic_ || events_ != nullptr) {
        part.bytes.insert(part.bytes.end(), data, padding);
    }
    ++part.received;
    return ReplyBytes(kDataReply);
}

std::vector<std::uint8_t> SimulatedDevice::EndUpgrade() {
    if (currentPart_ == nullptr || currentPart_->received != currentPart_->announced) {
        return Refuse(kErrorOutOfSequence, "end of upgrade without a whole part");
    }
    currentPart_ = nullptr;
    upgradeEnded_ = true;
    timingDue_ = true;
    if (events_ != nullptr) {
        events_->OnUpgradeEnded(internal_.bytes, external_.bytes);
    }
    return PositiveReply(command::kEndUpgrade);
}

std::vector<std::uint8_t> SimulatedDevice::Refuse(std::uint8_t errorCode, const std::string& why) {
    protocolErrors_.push_back(why);
    return FailureReply(errorCode);
}

void SimulatedDevice::KeepTraffic(bool keep) {
    std::lock_guard<std::mutex> hold(lock_);
    keepTraffic_ = keep;
}

void SimulatedDevice::Record(Transfer transfer) {
    if (events_ != nullptr) {
        events_->OnTransfer(transfer);
    }
    if (keepTraffic_) {
        traffic_.push_back(std::move(transfer));
    }
}

std::vector<Transfer> SimulatedDevice::Traffic() const {
    std::lock_guard<std::mutex> hold(lock_);
    return traffic_;
}

std::vector<Transfer> SimulatedDevice::FramesWritten() const {
    std::lock_guard<std::mutex> hold(lock_);
    std::vector<Transfer> writes;
    std::copy_if(traffic_.begin(), traffic_.end(), std::back_inserter(writes),
                 [](const Transfer& t) { return t.direction == Transfer::Direction::kWrite; });
    return writes;
}

std::vector<std::string> SimulatedDevice::ProtocolErrors() const {
    std::lock_guard<std::mutex> hold(lock_);
    return protocolErrors_;
}

std::string SimulatedDevice::SerialNumber() const {
    std::lock_guard<std::mutex> hold(lock_);
    return serial_;
}

std::vector<std::uint8_t> SimulatedDevice::InternalPart() const {
    std::lock_guard<std::mutex> hold(lock_);
    return internal_.bytes;
}

std::vector<std::uint8_t> SimulatedDevice::ExternalPart() const {
    std::lock_guard<std::mutex> hold(lock_);
    return external_.bytes;
}

bool SimulatedDevice::UpgradeEnded() const {
    std::lock_guard<std::mutex> hold(lock_);
    return upgradeEnded_;
}

}  // namespace orvo::sim

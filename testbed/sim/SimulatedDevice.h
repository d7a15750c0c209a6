#pragma once
// The device's end of the protocol, in memory, behind the two pipe calls: it checks what it
// receives (sync bytes, checksums, the order of an upgrade), answers every frame with a
// 16-byte reply, reassembles the two parts of an upgrade and records all traffic. Faults can
// be planted at any frame, and a latency models a USB link. Thread-safe: the tool calls it
// from its upgrade worker while a test inspects it.
//
// Replies: code + 0x80 to every command (0x86 with the serial number to command 6; command 9
// stores the number it carries), 0x81 to a data frame; a frame that breaks the protocol gets
// the failure reply 8 with one of the error codes below and is listed in ProtocolErrors().
#include "LinkTiming.h"
#include "PipeLibrary.h"
#include "Transfer.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace orvo::sim {

inline constexpr char kDefaultSerial[] = "961990000100";
inline constexpr std::uint8_t kDataReply = 0x81;
// Error codes of the device's own checks; the tool shows E9 for them.
inline constexpr std::uint8_t kErrorBadFrame = 0x40;       // length, sync bytes, checksum
inline constexpr std::uint8_t kErrorOutOfSequence = 0x41;  // against the order of an upgrade
inline constexpr std::uint8_t kErrorUnknownCommand = 0x42;

enum class FaultKind {
    kFailureReply,    // answered with reply code 8 and error code `value`; frame not taken
    kWrongReplyCode,  // taken, answered with reply code `value`
    kNoReply,         // taken, never answered: the read waits out its time-out, then -1
    kShortReply,      // taken, only the first `value` bytes of the reply come back
    kFailedWrite,     // the write returns -1; the device sees nothing
    kShortWrite,      // the write returns `value` (or length - 1 when `value` < 0)
    kUnplugged,       // every call from this frame on returns -1 at once
};

// Faults at the same frame combine (a failure reply that also comes back short).
struct Fault {
    FaultKind kind = FaultKind::kFailureReply;
    int frame = 0;  // index of the written frame it hits, from 0
    int value = -1;
};

// Told of what happens, under the device's lock: must not call back into the device.
class DeviceEvents {
public:
    virtual ~DeviceEvents() = default;
    virtual void OnTransfer(const Transfer& transfer) = 0;
    virtual void OnUpgradeEnded(const std::vector<std::uint8_t>& internal,
                                const std::vector<std::uint8_t>& external) = 0;
    virtual void OnSerialWritten(const std::string& serial) = 0;
};

class SimulatedDevice : public PipeLibrary {
public:
    explicit SimulatedDevice(const std::string& serial = kDefaultSerial);

    // Up to 12 bytes; missing ones are 0.
    void SetSerialNumber(const std::string& serial);
    void AddFault(const Fault& fault);
    void ClearFaults();  // also plugs the device in again
    // Every transfer takes exactly this long, the device's own work included (WaitUntil).
    void SetLatency(std::chrono::microseconds perTransfer);
    // Told, under the device's lock, how each upgrade used the link, once the reply to its end
    // command has been read; the count starts again after each report.
    void SetTimingReport(std::function<void(const LinkTiming&)> report);
    void SetEvents(DeviceEvents* events);
    // Whether Traffic(), FramesWritten() and the parts keep what was received (the default, for
    // tests); a device that serves a program for long (the DLL, the rig server) only hands it
    // to its events, so that its memory does not grow with every upgrade, nor stands for the
    // tool's when the tool's is measured.
    void KeepTraffic(bool keep);

    int WriteData(int pipe, unsigned char* data, int length, int timeoutMs) override;
    int ReadData(int pipe, unsigned char* data, int length, int timeoutMs) override;

    std::vector<Transfer> Traffic() const;
    std::vector<Transfer> FramesWritten() const;
    std::vector<std::string> ProtocolErrors() const;
    std::string SerialNumber() const;  // 12 bytes, as command 6 answers it
    std::vector<std::uint8_t> InternalPart() const;
    std::vector<std::uint8_t> ExternalPart() const;
    bool UpgradeEnded() const;  // command 2 closed the last upgrade

private:
    struct PartState {
        std::vector<std::uint8_t> bytes;
        std::uint32_t announced = 0;
        std::uint32_t received = 0;
        int blockSize = 0;
    };
    struct Reply {
        std::vector<std::uint8_t> bytes;  // empty: none to deliver
        bool withheld = false;
    };

    const Fault* FaultAt(int frame, FaultKind kind) const;
    int Write(int pipe, const std::uint8_t* data, int length);
    std::vector<std::uint8_t> Receive(int pipe, const std::uint8_t* data, int length);
    std::vector<std::uint8_t> ReceiveCommand(const std::uint8_t* frame, int length);
    std::vector<std::uint8_t> ReceiveData(const std::uint8_t* frame, int length);
    std::vector<std::uint8_t> StartPart(PartState& part, int blockSize, const std::uint8_t* frame);
    std::vector<std::uint8_t> AnnounceBlock(const std::uint8_t* frame);
    std::vector<std::uint8_t> EndUpgrade();
    std::vector<std::uint8_t> Refuse(std::uint8_t errorCode, const std::string& why);
    void Record(Transfer transfer);
    // A reply read, its failure and whether the caller must then wait out its time-out.
    struct ReadResult {
        int result;
        bool timedOut;
    };
    ReadResult Read(int pipe, unsigned char* data, int length);
    void CountTransfer(std::chrono::steady_clock::time_point entered, bool dataFrame);

    mutable std::mutex lock_;
    std::chrono::microseconds latency_{0};
    std::function<void(const LinkTiming&)> timingReport_;
    LinkTiming timing_;
    std::chrono::steady_clock::time_point firstTransfer_;
    bool timingDue_ = false;  // the end command was taken; its reply ends the upgrade's timing
    DeviceEvents* events_ = nullptr;
    std::vector<Fault> faults_;
    bool unplugged_ = false;
    int framesWritten_ = 0;
    std::string serial_;
    bool keepTraffic_ = true;
    std::vector<Transfer> traffic_;
    std::vector<std::string> protocolErrors_;
    Reply reply_;
    PartState internal_;
    PartState external_;
    PartState* currentPart_ = nullptr;
    bool blockAnnounced_ = false;
    unsigned announcedLength_ = 0;
    bool upgradeEnded_ = false;
};

}  // namespace orvo::sim

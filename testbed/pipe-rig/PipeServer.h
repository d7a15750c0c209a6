#pragma once
// Serves the message-mode named pipes <folder>\PIPE00 to <folder>\PIPE13 and the device's own
// pipe <folder> with overlapped I/O, one thread per pipe, each keeping two instances listening so
// a client that closes and at once reopens a pipe never finds it busy. A frame a client writes to
// an odd pipe goes to the responder; its reply waits on its even pipe and goes, as one message,
// to the next client connected there. It counts what the clients did, as a device's driver
// would see it.
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "FrameResponder.h"
#include "RigOptions.h"
#include "win32/KernelHandle.h"

namespace orvo::piperig {

class PipeServer {
public:
    PipeServer(std::string folder, FrameResponder& responder);
    ~PipeServer();
    PipeServer(const PipeServer&) = delete;
    PipeServer& operator=(const PipeServer&) = delete;

    // False, with nothing served, when a pipe cannot be made (another server has them).
    bool Start();
    void Stop();

    PipeCounts Counts() const;

private:
    class Worker;

    std::optional<DeviceReply> Answer(int pipe, const Bytes& frame);
    void Post(const DeviceReply& reply);

    const std::string folder_;
    FrameResponder& responder_;
    std::mutex responderLock_;
    std::atomic<long> opens_{0}, closes_{0}, writes_{0}, reads_{0}, deviceOpens_{0};
    KernelHandle stop_;
    std::vector<std::unique_ptr<Worker>> workers_;
    std::vector<std::thread> threads_;
};

}  // namespace orvo::piperig

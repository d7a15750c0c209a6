#pragma once
// Serves the message-mode named pipes PIPE00 to PIPE13 with overlapped I/O, one thread per
// pipe, each keeping two instances listening so a client that closes and at once reopens a pipe
// never finds it busy. A frame a client writes to an odd pipe goes to the responder; its reply
// waits on its even pipe and goes, as one message, to the next client connected there.
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "FrameResponder.h"
#include "win32/KernelHandle.h"

namespace orvo::piperig {

class PipeServer {
  public:
    explicit PipeServer(FrameResponder& responder);
    ~PipeServer();
    PipeServer(const PipeServer&) = delete;
    PipeServer& operator=(const PipeServer&) = delete;

    // False, with nothing served, when a pipe cannot be made (another server has them).
    bool Start();
    void Stop();

  private:
    class Worker;

    std::optional<DeviceReply> Answer(int pipe, const Bytes& frame);
    void Post(const DeviceReply& reply);

    FrameResponder& responder_;
    std::mutex responderLock_;
    KernelHandle stop_;
    std::vector<std::unique_ptr<Worker>> workers_;
    std::vector<std::thread> threads_;
};

}  // namespace orvo::piperig

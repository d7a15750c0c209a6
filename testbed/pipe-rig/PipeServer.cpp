#include "PipeServer.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <string>

namespace orvo::piperig {

namespace {

constexpr int kPipeCount = 14;
constexpr DWORD kPipeBufferSize = 4096;
constexpr DWORD kReadChunkSize = 65536;
constexpr int kListeners = 2;
// WaitForMultipleObjects takes 64 handles: the stop and wake events and two per instance.
constexpr std::size_t kMostInstances = 31;

// The device's own pipe, which its path opens: the device search opens it and closes it again.
constexpr int kDevicePipe = -1;

std::string PipeName(const std::string& folder, int pipe) {
    const std::string device = "\\\\.\\pipe\\" + folder;
    if (pipe == kDevicePipe) {
        return device;
    }
    char name[16];
    std::snprintf(name, sizeof name, "PIPE%02d", pipe);
    return device + "\\" + name;
}

KernelHandle ManualResetEvent() {
    return KernelHandle(CreateEventA(nullptr, TRUE, FALSE, nullptr));
}

// One server end of a pipe, with an overlapped record for the connect or read in flight and one
// for a reply being written.
struct Instance {
    KernelHandle pipe;
    KernelHandle ioEvent = ManualResetEvent();
    KernelHandle writeEvent = ManualResetEvent();
    OVERLAPPED io{};
    OVERLAPPED write{};
    bool connected = false;
    bool ioPending = false;
    bool writing = false;
    bool closed = false;
    Bytes chunk = Bytes(kReadChunkSize);
    Bytes message;  // what has come of a message read in several chunks
    Bytes outgoing;

    ~Instance() {
        // The system may write to the overlapped records until their I/O has ended.
        if (ioPending || writing) {
            CancelIoEx(pipe.Get(), nullptr);
            DWORD ignored = 0;
            if (ioPending) {
                GetOverlappedResult(pipe.Get(), &io, &ignored, TRUE);
            }
            if (writing) {
                GetOverlappedResult(pipe.Get(), &write, &ignored, TRUE);
            }
        }
    }
};

}  // namespace

class PipeServer::Worker {
public:
    Worker(int pipe, PipeServer& server) : pipe_(pipe), server_(server) {}

    // Makes the first listening instances; false when the pipe's name is taken.
    bool Prepare() {
        KeepListening();
        return !instances_.empty();
    }

    void Run(HANDLE stop) {
        for (;;) {
            std::vector<HANDLE> waits{stop, wake_.Get()};
            std::vector<std::pair<Instance*, bool>> owners;  // instance, and whether writing
            for (const auto& instance : instances_) {
                if (instance->ioPending) {
                    waits.push_back(instance->ioEvent.Get());
                    owners.emplace_back(instance.get(), false);
                }
                if (instance->writing) {
                    waits.push_back(instance->writeEvent.Get());
                    owners.emplace_back(instance.get(), true);
                }
            }
            const DWORD woken = WaitForMultipleObjects(static_cast<DWORD>(waits.size()),
                                                       waits.data(), FALSE, INFINITE);
            if (woken == WAIT_OBJECT_0 || woken >= WAIT_OBJECT_0 + waits.size()) {
                break;
            }
            if (woken >= WAIT_OBJECT_0 + 2) {
                const auto [instance, writing] = owners[woken - WAIT_OBJECT_0 - 2];
                writing ? WriteEnded(*instance) : IoEnded(*instance);
            }
            RemoveClosed();
            KeepListening();
            Deliver();
        }
        instances_.clear();
    }

    void Post(const Bytes& reply) {
        {
            std::lock_guard<std::mutex> guard(mailboxLock_);
            mailbox_.push_back(reply);
        }
        SetEvent(wake_.Get());
    }

private:
    void KeepListening() {
        const auto listening = [&] {
            return std::count_if(instances_.begin(), instances_.end(),
                                 [](const auto& instance) { return !instance->connected; });
        };
        while (listening() < kListeners && instances_.size() < kMostInstances) {
            auto instance = std::make_unique<Instance>();
            const DWORD first = instances_.empty() ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0;
            instance->pipe.Reset(CreateNamedPipeA(
                PipeName(server_.folder_, pipe_).c_str(),
                PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | first,
                PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, PIPE_UNLIMITED_INSTANCES,
                kPipeBufferSize, kPipeBufferSize, 0, nullptr));
            if (!instance->pipe.IsValid()) {
                return;
            }
            Listen(*instance);
            instances_.push_back(std::move(instance));
        }
    }

    void Listen(Instance& instance) {
        instance.io.hEvent = instance.ioEvent.Get();
        if (ConnectNamedPipe(instance.pipe.Get(), &instance.io)) {
            Connected(instance);
            return;
        }
        switch (GetLastError()) {
            case ERROR_IO_PENDING:
                instance.ioPending = true;
                break;
            case ERROR_PIPE_CONNECTED:
                Connected(instance);
                break;
            default:
                instance.closed = true;
        }
    }

    void Connected(Instance& instance) {
        instance.connected = true;
        ++(pipe_ == kDevicePipe ? server_.deviceOpens_ : server_.opens_);
        StartRead(instance);
    }

    void StartRead(Instance& instance) {
        instance.io = OVERLAPPED{};
        instance.io.hEvent = instance.ioEvent.Get();
        // A read that ends at once signals the event too, so every ending is seen by Run.
        const BOOL done = ReadFile(instance.pipe.Get(), instance.chunk.data(), kReadChunkSize,
                                   nullptr, &instance.io);
        const DWORD error = done ? ERROR_SUCCESS : GetLastError();
        instance.ioPending = done || error == ERROR_IO_PENDING || error == ERROR_MORE_DATA;
        instance.closed = !instance.ioPending;
    }

    void IoEnded(Instance& instance) {
        instance.ioPending = false;
        DWORD count = 0;
        const BOOL done = GetOverlappedResult(instance.pipe.Get(), &instance.io, &count, FALSE);
        const DWORD error = done ? ERROR_SUCCESS : GetLastError();
        if (!instance.connected) {
            done ? Connected(instance) : void(instance.closed = true);
            return;
        }
        if (!done && error != ERROR_MORE_DATA) {
            instance.closed = true;  // the client has gone
            return;
        }
        instance.message.insert(instance.message.end(), instance.chunk.begin(),
                                instance.chunk.begin() + count);
        if (done) {
            Bytes frame;
            frame.swap(instance.message);
            Received(frame);
        }
        StartRead(instance);
    }

    void Received(const Bytes& frame) {
        if (pipe_ == kDevicePipe || pipe_ % 2 == 0) {
            return;  // clients only read the even pipes, and only open the device's own
        }
        ++server_.writes_;
        if (const auto reply = server_.Answer(pipe_, frame)) {
            server_.Post(*reply);
        }
    }

    // Writes the oldest waiting reply to a connected client, one at a time, in order.
    void Deliver() {
        const bool writing = std::any_of(instances_.begin(), instances_.end(),
                                         [](const auto& instance) { return instance->writing; });
        if (writing) {
            return;
        }
        Bytes reply;
        {
            std::lock_guard<std::mutex> guard(mailboxLock_);
            if (mailbox_.empty()) {
                return;
            }
            reply = mailbox_.front();
        }
        for (const auto& instance : instances_) {
            if (!instance->connected || instance->closed) {
                continue;
            }
            instance->outgoing = reply;
            instance->write = OVERLAPPED{};
            instance->write.hEvent = instance->writeEvent.Get();
            const BOOL done =
                WriteFile(instance->pipe.Get(), instance->outgoing.data(),
                          static_cast<DWORD>(instance->outgoing.size()), nullptr, &instance->write);
            if (done || GetLastError() == ERROR_IO_PENDING) {
                instance->writing = true;
                return;
            }
            instance->closed = true;
        }
    }

    // A reply counts as delivered once the system has taken all of it for the client.
    void WriteEnded(Instance& instance, bool wait = false) {
        instance.writing = false;
        DWORD count = 0;
        if (!GetOverlappedResult(instance.pipe.Get(), &instance.write, &count, wait) ||
            count != instance.outgoing.size()) {
            instance.closed = true;  // the reply stays for the next client
            return;
        }
        ++server_.reads_;
        std::lock_guard<std::mutex> guard(mailboxLock_);
        mailbox_.pop_front();
    }

    // A client that read its reply and left at once may be noticed before the write's end, so
    // the write is settled first: a reply taken must not go out twice.
    void RemoveClosed() {
        for (const auto& instance : instances_) {
            if (instance->closed && instance->writing) {
                CancelIoEx(instance->pipe.Get(), &instance->write);
                WriteEnded(*instance, true);
            }
        }
        for (const auto& instance : instances_) {
            if (instance->closed && instance->connected && pipe_ != kDevicePipe) {
                ++server_.closes_;  // a client has closed the pipe
            }
        }
        instances_.erase(std::remove_if(instances_.begin(), instances_.end(),
                                        [](const auto& instance) { return instance->closed; }),
                         instances_.end());
    }

    const int pipe_;
    PipeServer& server_;
    std::vector<std::unique_ptr<Instance>> instances_;
    std::mutex mailboxLock_;
    std::deque<Bytes> mailbox_;
    KernelHandle wake_{CreateEventA(nullptr, FALSE, FALSE, nullptr)};
};

PipeServer::PipeServer(std::string folder, FrameResponder& responder)
    : folder_(std::move(folder)), responder_(responder) {}

PipeServer::~PipeServer() {
    Stop();
}

bool PipeServer::Start() {
    stop_ = ManualResetEvent();
    for (int pipe = kDevicePipe; pipe < kPipeCount; ++pipe) {
        workers_.push_back(std::make_unique<Worker>(pipe, *this));
        if (!workers_.back()->Prepare()) {
            workers_.clear();
            return false;
        }
    }
    for (const auto& worker : workers_) {
        threads_.emplace_back([this, raw = worker.get()] { raw->Run(stop_.Get()); });
    }
    return true;
}

void PipeServer::Stop() {
    if (stop_.IsValid()) {
        SetEvent(stop_.Get());
    }
    for (std::thread& thread : threads_) {
        thread.join();
    }
    threads_.clear();
    workers_.clear();
}

PipeCounts PipeServer::Counts() const {
    return {opens_.load(), closes_.load(), writes_.load(), reads_.load(), deviceOpens_.load()};
}

std::optional<DeviceReply> PipeServer::Answer(int pipe, const Bytes& frame) {
    std::lock_guard<std::mutex> guard(responderLock_);
    return responder_.OnFrame(pipe, frame);
}

void PipeServer::Post(const DeviceReply& reply) {
    if (reply.pipe >= 0 && reply.pipe < kPipeCount && reply.pipe % 2 == 0) {
        workers_[reply.pipe - kDevicePipe]->Post(reply.bytes);
    }
}

}  // namespace orvo::piperig

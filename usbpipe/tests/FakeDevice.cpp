#include "FakeDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <thread>

#include "PipeTransfer.h"

namespace orvo::usbpipe::testing {

namespace {

FakeDevice* current = nullptr;
thread_local DWORD lastError = ERROR_SUCCESS;

FakeDevice& Current() {
    return *current;
}

BOOL Fail(DWORD error) {
    lastError = error;
    return FALSE;
}

HDEVINFO WINAPI FakeGetClassDevs(const GUID* classGuid, PCSTR, HWND, DWORD flags) {
    return Current().GetClassDevs(classGuid, flags);
}
BOOL WINAPI FakeEnumInterfaces(HDEVINFO set, PSP_DEVINFO_DATA, const GUID*, DWORD index,
                               PSP_DEVICE_INTERFACE_DATA iface) {
    return Current().EnumInterface(set, index, iface);
}
BOOL WINAPI FakeInterfaceDetail(HDEVINFO set, PSP_DEVICE_INTERFACE_DATA iface,
                                PSP_DEVICE_INTERFACE_DETAIL_DATA_A detail, DWORD size,
                                PDWORD required, PSP_DEVINFO_DATA) {
    return Current().InterfaceDetail(set, iface, detail, size, required);
}
BOOL WINAPI FakeDestroySet(HDEVINFO set) {
    return Current().DestroySet(set);
}
HANDLE WINAPI FakeCreateFile(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES,
                             DWORD disposition, DWORD flags, HANDLE) {
    return Current().OpenPath(path, access, share, disposition, flags);
}
BOOL WINAPI FakeReadFile(HANDLE file, LPVOID buffer, DWORD length, LPDWORD count,
                         LPOVERLAPPED overlapped) {
    return Current().Read(file, buffer, length, count, overlapped);
}
BOOL WINAPI FakeWriteFile(HANDLE file, LPCVOID, DWORD length, LPDWORD count,
                          LPOVERLAPPED overlapped) {
    return Current().Write(file, length, count, overlapped);
}
BOOL WINAPI FakeDeviceIoControl(HANDLE file, DWORD code, LPVOID, DWORD inputSize, LPVOID output,
                                DWORD outputSize, LPDWORD count, LPOVERLAPPED overlapped) {
    return Current().Control(file, code, inputSize, output, outputSize, count, overlapped);
}
HANDLE WINAPI FakeCreateEvent(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState,
                              LPCSTR name) {
    return Current().MakeEvent(manualReset, initialState, name);
}
DWORD WINAPI FakeWait(HANDLE object, DWORD timeoutMs) {
    return Current().Wait(object, timeoutMs);
}
BOOL WINAPI FakeOverlappedResult(HANDLE file, LPOVERLAPPED overlapped, LPDWORD count, BOOL wait) {
    return Current().OverlappedResult(file, overlapped, count, wait);
}
BOOL WINAPI FakeCancelIo(HANDLE file) {
    return Current().Cancel(file);
}
BOOL WINAPI FakeCloseHandle(HANDLE object) {
    return Current().Close(object);
}
DWORD WINAPI FakeGetLastError() {
    return lastError;
}
VOID WINAPI FakeSetLastError(DWORD error) {
    lastError = error;
}

PipeApi BindFakeApi() {
    PipeApi api{};
    api.SetupDiGetClassDevsA = &FakeGetClassDevs;
    api.SetupDiEnumDeviceInterfaces = &FakeEnumInterfaces;
    api.SetupDiGetDeviceInterfaceDetailA = &FakeInterfaceDetail;
    api.SetupDiDestroyDeviceInfoList = &FakeDestroySet;
    api.CreateFileA = &FakeCreateFile;
    api.ReadFile = &FakeReadFile;
    api.WriteFile = &FakeWriteFile;
    api.DeviceIoControl = &FakeDeviceIoControl;
    api.CreateEventA = &FakeCreateEvent;
    api.WaitForSingleObject = &FakeWait;
    api.GetOverlappedResult = &FakeOverlappedResult;
    api.CancelIo = &FakeCancelIo;
    api.CloseHandle = &FakeCloseHandle;
    api.GetLastError = &FakeGetLastError;
    api.SetLastError = &FakeSetLastError;
    return api;
}

bool SameGuid(const GUID& a, const GUID& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

const GUID kClass = {0x8F49042E, 0xA314, 0x4211, {0xB8, 0x93, 0x2E, 0xBF, 0x51, 0xBF, 0xF9, 0x4D}};

}  // namespace

FakeInterface Working(std::string path) {
    FakeInterface entry;
    entry.path = std::move(path);
    return entry;
}

FakeInterface FailingEnumeration(std::string path, DWORD error) {
    FakeInterface entry = Working(std::move(path));
    entry.enumerationError = error;
    return entry;
}

FakeInterface FailingDetail(std::string path) {
    FakeInterface entry = Working(std::move(path));
    entry.detailFails = true;
    return entry;
}

FakeInterface NotOpening(std::string path) {
    FakeInterface entry = Working(std::move(path));
    entry.opens = false;
    return entry;
}

namespace {

FakeTransfer Scripted(Completion completion, std::vector<unsigned char> bytes = {}) {
    FakeTransfer transfer;
    transfer.completion = completion;
    transfer.bytes = std::move(bytes);
    return transfer;
}

}  // namespace

FakeTransfer AtOnce(std::vector<unsigned char> bytes) {
    return Scripted(Completion::AtOnce, std::move(bytes));
}

FakeTransfer Pending(std::vector<unsigned char> bytes) {
    return Scripted(Completion::Pending, std::move(bytes));
}

FakeTransfer UntilCancelled() {
    return Scripted(Completion::PendingUntilCancelled);
}

FakeTransfer EndingAfter(std::chrono::milliseconds after, std::vector<unsigned char> bytes) {
    FakeTransfer transfer = Scripted(Completion::PendingFor, std::move(bytes));
    transfer.after = after;
    return transfer;
}

FakeTransfer WaitFailing() {
    return Scripted(Completion::WaitFails);
}

FakeTransfer Failing() {
    return Scripted(Completion::Fails);
}

FakeTransfer ShortWriteAtOnce(long count) {
    FakeTransfer transfer = Scripted(Completion::AtOnce);
    transfer.writeCount = count;
    return transfer;
}

FakeDevice::FakeDevice() {
    current = this;
}

FakeDevice::~FakeDevice() {
    current = nullptr;
}

const PipeApi& FakeDevice::Api() {
    static const PipeApi api = BindFakeApi();
    return api;
}

void FakeDevice::Plug(std::vector<FakeInterface> interfaces) {
    std::lock_guard<std::mutex> guard(lock_);
    interfaces_ = std::move(interfaces);
    ++plugging_;
}

void FakeDevice::Unplug() {
    Plug({});
}

void FakeDevice::FailClassList() {
    std::lock_guard<std::mutex> guard(lock_);
    classListFails_ = true;
}

void FakeDevice::FailPipeOpens(int count) {
    std::lock_guard<std::mutex> guard(lock_);
    pipeOpenFailures_ = count;
}

void FakeDevice::SlowSearches(std::chrono::milliseconds delay) {
    std::lock_guard<std::mutex> guard(lock_);
    searchDelay_ = delay;
}

void FakeDevice::QueueRead(FakeTransfer transfer) {
    std::lock_guard<std::mutex> guard(lock_);
    reads_.push_back(std::move(transfer));
}

void FakeDevice::QueueWrite(FakeTransfer transfer) {
    std::lock_guard<std::mutex> guard(lock_);
    writes_.push_back(std::move(transfer));
}

void FakeDevice::QueueStatus(FakeTransfer transfer) {
    std::lock_guard<std::mutex> guard(lock_);
    statuses_.push_back(std::move(transfer));
}

void FakeDevice::QueueReset(FakeTransfer transfer) {
    std::lock_guard<std::mutex> guard(lock_);
    resets_.push_back(std::move(transfer));
}

std::vector<std::string> FakeDevice::Calls() const {
    std::lock_guard<std::mutex> guard(lock_);
    return calls_;
}

void FakeDevice::ClearCalls() {
    std::lock_guard<std::mutex> guard(lock_);
    calls_.clear();
}

int FakeDevice::Searches() const {
    std::lock_guard<std::mutex> guard(lock_);
    return searches_;
}

int FakeDevice::EventsMade() const {
    std::lock_guard<std::mutex> guard(lock_);
    return eventsMade_;
}

DWORD FakeDevice::LastError() {
    return lastError;
}

int FakeDevice::MostSearchesAtOnce() const {
    std::lock_guard<std::mutex> guard(lock_);
    return mostSearchesAtOnce_;
}

std::vector<DWORD> FakeDevice::DetailSizeFields() const {
    std::lock_guard<std::mutex> guard(lock_);
    return detailSizeFields_;
}

int FakeDevice::OpenHandles() const {
    std::lock_guard<std::mutex> guard(lock_);
    return static_cast<int>(handles_.size());
}

int FakeDevice::AbandonedTransfers() const {
    std::lock_guard<std::mutex> guard(lock_);
    return abandoned_;
}

std::vector<std::string> FakeDevice::Misuses() const {
    std::lock_guard<std::mutex> guard(lock_);
    return misuses_;
}

HDEVINFO FakeDevice::GetClassDevs(const GUID* classGuid, DWORD flags) {
    std::chrono::milliseconds delay;
    {
        std::lock_guard<std::mutex> guard(lock_);
        Log("SetupDiGetClassDevsA");
        if (classGuid == nullptr || !SameGuid(*classGuid, kClass) ||
            flags != (DIGCF_PRESENT | DIGCF_DEVICEINTERFACE)) {
            Misuse("device set asked for the wrong class or flags");
        }
        ++searches_;
        if (classListFails_) {
            lastError = ERROR_INVALID_PARAMETER;
            return INVALID_HANDLE_VALUE;
        }
        mostSearchesAtOnce_ = std::max(mostSearchesAtOnce_, ++searchesNow_);
        delay = searchDelay_;
    }
    std::this_thread::sleep_for(delay);
    std::lock_guard<std::mutex> guard(lock_);
    return NewHandle(HandleKind::Set);
}

BOOL FakeDevice::EnumInterface(HDEVINFO set, DWORD index, PSP_DEVICE_INTERFACE_DATA iface) {
    std::lock_guard<std::mutex> guard(lock_);
    Log("SetupDiEnumDeviceInterfaces " + std::to_string(index));
    if (!IsHandle(set, HandleKind::Set) || iface->cbSize != sizeof(SP_DEVICE_INTERFACE_DATA)) {
        Misuse("interface enumerated with a bad set or record");
    }
    if (index >= interfaces_.size()) {
        return Fail(ERROR_NO_MORE_ITEMS);
    }
    if (interfaces_[index].enumerationError != ERROR_SUCCESS) {
        return Fail(interfaces_[index].enumerationError);
    }
    iface->Reserved = index;
    return TRUE;
}

BOOL FakeDevice::InterfaceDetail(HDEVINFO set, PSP_DEVICE_INTERFACE_DATA iface,
                                 PSP_DEVICE_INTERFACE_DETAIL_DATA_A detail, DWORD size,
                                 PDWORD required) {
    std::lock_guard<std::mutex> guard(lock_);
    Log("SetupDiGetDeviceInterfaceDetailA");
    const FakeInterface& entry = interfaces_.at(iface->Reserved);
    const DWORD needed = static_cast<DWORD>(
        offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath) + entry.path.size() + 1);
    if (!IsHandle(set, HandleKind::Set)) {
        Misuse("detail asked of a bad set");
    }
    if (required != nullptr) {
        *required = needed;
    }
    if (detail == nullptr) {
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    detailSizeFields_.push_back(detail->cbSize);
    if (size < needed) {
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    if (entry.detailFails) {
        return Fail(ERROR_INVALID_USER_BUFFER);
    }
    std::memcpy(detail->DevicePath, entry.path.c_str(), entry.path.size() + 1);
    return TRUE;
}

BOOL FakeDevice::DestroySet(HDEVINFO set) {
    std::lock_guard<std::mutex> guard(lock_);
    Log("SetupDiDestroyDeviceInfoList");
    if (!IsHandle(set, HandleKind::Set)) {
        Misuse("destroyed a set it does not own");
        return Fail(ERROR_INVALID_HANDLE);
    }
    handles_.erase(set);
    --searchesNow_;
    return TRUE;
}

HANDLE FakeDevice::OpenPath(LPCSTR path, DWORD access, DWORD share, DWORD disposition,
                            DWORD flags) {
    std::lock_guard<std::mutex> guard(lock_);
    const bool overlapped = (flags & FILE_FLAG_OVERLAPPED) != 0;
    Log(std::string("CreateFileA ") + path + (overlapped ? " overlapped" : ""));
    if (access != (GENERIC_READ | GENERIC_WRITE) || share != (FILE_SHARE_READ | FILE_SHARE_WRITE) ||
        disposition != OPEN_EXISTING) {
        Misuse(std::string("opened with the wrong access, sharing or disposition: ") + path);
    }
    if (!overlapped) {
        if (!OpensDevice(path)) {
            lastError = kDeviceOpenError;
            return INVALID_HANDLE_VALUE;
        }
        return NewHandle(HandleKind::Device);
    }
    if (pipeOpenFailures_ > 0 || !OpensPipe(path)) {
        pipeOpenFailures_ = std::max(0, pipeOpenFailures_ - 1);
        lastError = kPipeOpenError;
        return INVALID_HANDLE_VALUE;
    }
    HANDLE pipe = NewHandle(HandleKind::Pipe);
    pipePlugging_[pipe] = plugging_;
    return pipe;
}

BOOL FakeDevice::Read(HANDLE file, void* buffer, DWORD length, DWORD* count,
                      OVERLAPPED* overlapped) {
    std::lock_guard<std::mutex> guard(lock_);
    Log("ReadFile " + std::to_string(length));
    return Start(file, NextScript(reads_), buffer, length, count, overlapped);
}

BOOL FakeDevice::Write(HANDLE file, DWORD length, DWORD* count, OVERLAPPED* overlapped) {
    std::lock_guard<std::mutex> guard(lock_);
    Log("WriteFile " + std::to_string(length));
    return Start(file, NextScript(writes_), nullptr, length, count, overlapped);
}

BOOL FakeDevice::Control(HANDLE file, DWORD code, DWORD inputSize, void* output, DWORD outputSize,
                         DWORD* count, OVERLAPPED* overlapped) {
    std::lock_guard<std::mutex> guard(lock_);
    if (code == kPipeStatusCode) {
        Log("DeviceIoControl status");
        if (inputSize != 0 || outputSize != 2 || output == nullptr) {
            Misuse("status request with the wrong buffers");
        }
        FakeTransfer script = NextScript(statuses_);
        if (script.bytes.empty()) {
            script.bytes = {0, 0};
        }
        return Start(file, std::move(script), output, outputSize, count, overlapped);
    }
    if (code == kPipeResetCode) {
        Log("DeviceIoControl reset");
        if (inputSize != 0 || outputSize != 0) {
            Misuse("reset request with buffers");
        }
        return Start(file, NextScript(resets_), nullptr, 0, count, overlapped);
    }
    Misuse("unknown control code " + std::to_string(code));
    return Fail(ERROR_INVALID_FUNCTION);
}

HANDLE FakeDevice::MakeEvent(BOOL manualReset, BOOL initialState, LPCSTR name) {
    std::lock_guard<std::mutex> guard(lock_);
    if (!manualReset || initialState || name != nullptr) {
        Misuse("event is not an unnamed manual-reset one that starts non-signalled");
    }
    ++eventsMade_;
    return NewHandle(HandleKind::Event);
}

DWORD FakeDevice::Wait(HANDLE object, DWORD timeoutMs) {
    std::unique_lock<std::mutex> guard(lock_);
    Log("WaitForSingleObject " + std::to_string(timeoutMs));
    for (auto& [overlapped, pending] : pending_) {
        if (pending.event != object || pending.ended) {
            continue;
        }
        switch (pending.script.completion) {
            case Completion::PendingUntilCancelled:
                if (timeoutMs == INFINITE) {
                    Misuse("waits without end for a transfer that never ends");
                }
                return WAIT_TIMEOUT;
            case Completion::WaitFails:
                lastError = ERROR_INVALID_HANDLE;
                return WAIT_FAILED;
            case Completion::PendingFor: {
                const auto due = pending.due;
                const auto limit = timeoutMs == INFINITE
                                       ? due
                                       : std::min(due, std::chrono::steady_clock::now() +
                                                           std::chrono::milliseconds(timeoutMs));
                OVERLAPPED* const record = overlapped;
                guard.unlock();
                // A sleep may end a little early; the wait must not.
                while (std::chrono::steady_clock::now() < limit) {
                    std::this_thread::sleep_until(limit);
                }
                guard.lock();
                const auto still = pending_.find(record);
                if (still == pending_.end() || still->second.ended) {
                    return WAIT_OBJECT_0;
                }
                if (std::chrono::steady_clock::now() < due) {
                    return WAIT_TIMEOUT;
                }
                End(still->second);
                return WAIT_OBJECT_0;
            }
            default:
                End(pending);
                return WAIT_OBJECT_0;
        }
    }
    return WAIT_OBJECT_0;
}

BOOL FakeDevice::OverlappedResult(HANDLE file, OVERLAPPED* overlapped, DWORD* count, BOOL wait) {
    std::lock_guard<std::mutex> guard(lock_);
    Log(wait ? "GetOverlappedResult wait" : "GetOverlappedResult");
    const auto found = pending_.find(overlapped);
    if (found == pending_.end() || found->second.file != file) {
        Misuse("result asked for a transfer that was never started on this handle");
        return Fail(ERROR_INVALID_PARAMETER);
    }
    if (!found->second.ended) {
        if (wait) {
            Misuse("waits for a transfer that never ends");
        }
        return Fail(ERROR_IO_INCOMPLETE);
    }
    const Pending ended = found->second;
    pending_.erase(found);
    if (ended.error != ERROR_SUCCESS) {
        return Fail(ended.error);
    }
    *count = ended.count;
    return TRUE;
}

BOOL FakeDevice::Cancel(HANDLE file) {
    std::lock_guard<std::mutex> guard(lock_);
    Log("CancelIo");
    for (auto& [overlapped, pending] : pending_) {
        if (pending.file == file && !pending.ended) {
            pending.ended = true;
            pending.error = ERROR_OPERATION_ABORTED;
        }
    }
    return TRUE;
}

BOOL FakeDevice::Close(HANDLE object) {
    std::lock_guard<std::mutex> guard(lock_);
    const auto found = handles_.find(object);
    if (found == handles_.end() || found->second == HandleKind::Set) {
        Misuse("closed a handle it does not own");
        return Fail(ERROR_INVALID_HANDLE);
    }
    if (found->second == HandleKind::Pipe) {
        pipePlugging_.erase(object);
        Log("CloseHandle pipe");
    } else if (found->second == HandleKind::Device) {
        Log("CloseHandle device");
    }
    for (auto it = pending_.begin(); it != pending_.end();) {
        if (it->second.event == object || it->second.file == object) {
            ++abandoned_;
            it = pending_.erase(it);
        } else {
            ++it;
        }
    }
    handles_.erase(found);
    return TRUE;
}

HANDLE FakeDevice::NewHandle(HandleKind kind) {
    HANDLE handle = reinterpret_cast<HANDLE>(nextHandle_);
    nextHandle_ += 4;
    handles_[handle] = kind;
    return handle;
}

bool FakeDevice::IsHandle(HANDLE handle, HandleKind kind) const {
    const auto found = handles_.find(handle);
    return found != handles_.end() && found->second == kind;
}

bool FakeDevice::IsDead(HANDLE pipe) const {
    const auto found = pipePlugging_.find(pipe);
    return found != pipePlugging_.end() && found->second != plugging_;
}

bool FakeDevice::OpensDevice(const std::string& path) const {
    return std::any_of(interfaces_.begin(), interfaces_.end(), [&](const FakeInterface& entry) {
        return entry.opens && entry.path == path;
    });
}

bool FakeDevice::OpensPipe(const std::string& path) const {
    return std::any_of(interfaces_.begin(), interfaces_.end(), [&](const FakeInterface& entry) {
        const std::string prefix = entry.path + "\\PIPE";
        return entry.opens && path.size() == prefix.size() + 2 &&
               path.compare(0, prefix.size(), prefix) == 0;
    });
}

FakeTransfer FakeDevice::NextScript(std::deque<FakeTransfer>& queue) {
    if (queue.empty()) {
        return {};
    }
    FakeTransfer next = std::move(queue.front());
    queue.pop_front();
    return next;
}

BOOL FakeDevice::Start(HANDLE file, FakeTransfer script, void* buffer, DWORD length, DWORD* count,
                       OVERLAPPED* overlapped) {
    if (!IsHandle(file, HandleKind::Pipe) || overlapped == nullptr ||
        !IsHandle(overlapped->hEvent, HandleKind::Event)) {
        Misuse("transfer without an open pipe, an overlapped record or its event");
        return Fail(ERROR_INVALID_PARAMETER);
    }
    if (script.bytes.size() > length) {
        ADD_FAILURE() << "a script delivers more bytes than were asked for";
        script.bytes.resize(length);
    }
    if (IsDead(file)) {
        return Fail(kDeadHandleError);
    }
    if (script.completion == Completion::Fails) {
        return Fail(script.error);
    }
    Pending pending{file, overlapped->hEvent, std::move(script), buffer, length};
    pending.due = std::chrono::steady_clock::now() + pending.script.after;
    if (pending.script.completion == Completion::AtOnce) {
        End(pending);
        *count = pending.count;
        return TRUE;
    }
    pending_[overlapped] = std::move(pending);
    return Fail(ERROR_IO_PENDING);
}

void FakeDevice::End(Pending& pending) {
    pending.ended = true;
    if (pending.buffer != nullptr) {
        std::memcpy(pending.buffer, pending.script.bytes.data(), pending.script.bytes.size());
        pending.count = static_cast<DWORD>(pending.script.bytes.size());
    } else {
        pending.count = pending.script.writeCount < 0
                            ? pending.length
                            : static_cast<DWORD>(pending.script.writeCount);
    }
}

void FakeDevice::Log(std::string call) {
    calls_.push_back(std::move(call));
}

void FakeDevice::Misuse(std::string what) {
    misuses_.push_back(std::move(what));
}

}  // namespace orvo::usbpipe::testing

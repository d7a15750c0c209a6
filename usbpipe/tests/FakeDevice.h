#pragma once
// A device played behind the pipe library's table of Windows calls: present or absent, with
// interfaces that enumerate or fail, pipes that open or not, and transfers and driver requests
// that complete at once, pend and complete, complete after a while, pend until cancelled, or
// fail. A pipe handle opened before the device was last plugged in or unplugged is dead, as a
// handle of a removed device is: its transfers and requests fail. It logs the calls that matter
// in order and tracks every handle it gives out, so tests can see leaks and overlapped records
// given up while the system could still write to them.
#include <chrono>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "PipeApi.h"

namespace orvo::usbpipe::testing {

struct FakeInterface {
    std::string path;
    DWORD enumerationError = ERROR_SUCCESS;  // enumerating this index fails with it, if set
    bool detailFails = false;                // the second detail request fails
    bool opens = true;                       // the device path and its pipes open
};

// Interfaces as the setup API lists them.
FakeInterface Working(std::string path);
FakeInterface FailingEnumeration(std::string path, DWORD error);
FakeInterface FailingDetail(std::string path);
FakeInterface NotOpening(std::string path);

enum class Completion {
    AtOnce,                 // the call itself succeeds
    Pending,                // pends, and has ended when it is waited for
    PendingUntilCancelled,  // pends until the handle's I/O is cancelled: the wait times out
    PendingFor,             // ends `after` its start: a wait ends then, or times out before
    WaitFails,              // pends, and waiting for it fails
    Fails,                  // the call fails with `error`
};

struct FakeTransfer {
    Completion completion = Completion::AtOnce;
    // What a read or the status request delivers; a write moves `writeCount` bytes, or all.
    std::vector<unsigned char> bytes;
    DWORD error = ERROR_GEN_FAILURE;
    long writeCount = -1;
    std::chrono::milliseconds after{0};  // for PendingFor
};

// What a transfer or request on a dead pipe handle fails with.
constexpr DWORD kDeadHandleError = ERROR_DEVICE_NOT_CONNECTED;
// What an open of a pipe that is not there fails with.
constexpr DWORD kPipeOpenError = ERROR_PATH_NOT_FOUND;
// What an open of a device path that is not there fails with.
constexpr DWORD kDeviceOpenError = ERROR_FILE_NOT_FOUND;

// Scripted transfers and driver requests.
FakeTransfer AtOnce(std::vector<unsigned char> bytes = {});
FakeTransfer Pending(std::vector<unsigned char> bytes = {});
FakeTransfer UntilCancelled();
FakeTransfer EndingAfter(std::chrono::milliseconds after, std::vector<unsigned char> bytes = {});
FakeTransfer WaitFailing();
FakeTransfer Failing();
FakeTransfer ShortWriteAtOnce(long count);

class FakeDevice {
public:
    FakeDevice();  // the table's calls reach this device until it is destroyed
    ~FakeDevice();
    FakeDevice(const FakeDevice&) = delete;
    FakeDevice& operator=(const FakeDevice&) = delete;

    // The table whose every entry reaches the current device.
    static const PipeApi& Api();

    // The device as the system sees it; may change between calls of the library.
    void Plug(std::vector<FakeInterface> interfaces);
    void Unplug();
    void FailClassList();           // the device set cannot be created
    void FailPipeOpens(int count);  // the next `count` pipe opens fail
    void SlowSearches(std::chrono::milliseconds delay);

    // Scripts for the next calls of each kind; with none left, each completes at once (a read
    // with no bytes, a status of 0 0).
    void QueueRead(FakeTransfer transfer);
    void QueueWrite(FakeTransfer transfer);
    void QueueStatus(FakeTransfer transfer);
    void QueueReset(FakeTransfer transfer);

    // What happened: "SetupDiGetClassDevsA", "SetupDiEnumDeviceInterfaces 0",
    // "SetupDiGetDeviceInterfaceDetailA", "CreateFileA <path>" (with " overlapped" for pipes),
    // "ReadFile 16", "WriteFile 16", "DeviceIoControl status", "DeviceIoControl reset",
    // "WaitForSingleObject 1000", "GetOverlappedResult" (" wait" when asked to wait),
    // "CancelIo", "CloseHandle pipe", "CloseHandle device".
    std::vector<std::string> Calls() const;
    void ClearCalls();
    int Searches() const;
    int EventsMade() const;
    int MostSearchesAtOnce() const;
    std::vector<DWORD> DetailSizeFields() const;
    // Handles and device sets given out and not yet released.
    int OpenHandles() const;
    // Overlapped records released before their transfer had ended and been collected.
    int AbandonedTransfers() const;
    // Calls made with arguments the library must never pass.
    std::vector<std::string> Misuses() const;

    // Entries of the table.
    HDEVINFO GetClassDevs(const GUID* classGuid, DWORD flags);
    BOOL EnumInterface(HDEVINFO set, DWORD index, PSP_DEVICE_INTERFACE_DATA iface);
    BOOL InterfaceDetail(HDEVINFO set, PSP_DEVICE_INTERFACE_DATA iface,
                         PSP_DEVICE_INTERFACE_DETAIL_DATA_A detail, DWORD size, PDWORD required);
    BOOL DestroySet(HDEVINFO set);
    HANDLE OpenPath(LPCSTR path, DWORD access, DWORD share, DWORD disposition, DWORD flags);
    BOOL Read(HANDLE file, void* buffer, DWORD length, DWORD* count, OVERLAPPED* overlapped);
    BOOL Write(HANDLE file, DWORD length, DWORD* count, OVERLAPPED* overlapped);
    BOOL Control(HANDLE file, DWORD code, DWORD inputSize, void* output, DWORD outputSize,
                 DWORD* count, OVERLAPPED* overlapped);
    HANDLE MakeEvent(BOOL manualReset, BOOL initialState, LPCSTR name);
    DWORD Wait(HANDLE object, DWORD timeoutMs);
    BOOL OverlappedResult(HANDLE file, OVERLAPPED* overlapped, DWORD* count, BOOL wait);
    BOOL Cancel(HANDLE file);
    BOOL Close(HANDLE object);

    // The calling thread's last error, as the table's GetLastError gives it.
    static DWORD LastError();

private:
    enum class HandleKind { Set, Device, Pipe, Event };
    struct Pending {
        HANDLE file;
        HANDLE event;
        FakeTransfer script;
        void* buffer;
        DWORD length;
        bool ended = false;
        DWORD error = ERROR_SUCCESS;
        DWORD count = 0;
        std::chrono::steady_clock::time_point due{};  // for PendingFor
    };

    HANDLE NewHandle(HandleKind kind);
    bool IsHandle(HANDLE handle, HandleKind kind) const;
    bool IsDead(HANDLE pipe) const;
    bool OpensDevice(const std::string& path) const;
    bool OpensPipe(const std::string& path) const;
    FakeTransfer NextScript(std::deque<FakeTransfer>& queue);
    // Runs a scripted call: completes it at once, fails it, or leaves it pending.
    BOOL Start(HANDLE file, FakeTransfer script, void* buffer, DWORD length, DWORD* count,
               OVERLAPPED* overlapped);
    void End(Pending& pending);
    void Log(std::string call);
    void Misuse(std::string what);

    mutable std::mutex lock_;
    std::vector<FakeInterface> interfaces_;
    bool classListFails_ = false;
    int pipeOpenFailures_ = 0;
    std::chrono::milliseconds searchDelay_{0};
    std::deque<FakeTransfer> reads_, writes_, statuses_, resets_;

    std::vector<std::string> calls_;
    int searches_ = 0;
    int searchesNow_ = 0;
    int mostSearchesAtOnce_ = 0;
    std::vector<DWORD> detailSizeFields_;
    std::map<HANDLE, HandleKind> handles_;
    int plugging_ = 0;                    // counts every Plug and Unplug
    std::map<HANDLE, int> pipePlugging_;  // the plugging each pipe handle was opened in
    int eventsMade_ = 0;
    std::size_t nextHandle_ = 0x1000;
    std::map<OVERLAPPED*, Pending> pending_;
    int abandoned_ = 0;
    std::vector<std::string> misuses_;
};

}  // namespace orvo::usbpipe::testing

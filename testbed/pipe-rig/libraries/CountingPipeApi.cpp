#include "CountingPipeApi.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>

#include "PipeTransfer.h"

namespace orvo::piperig {

namespace {

using usbpipe::PipeApi;
using usbpipe::RealPipeApi;

struct Counts {
    std::atomic<long> searches{0}, deviceOpens{0}, pipeOpens{0}, pipeCloses{0}, reads{0}, writes{0},
        statusRequests{0}, resets{0};
    std::mutex pipesLock;
    std::set<HANDLE> pipes;  // open pipe handles, to tell their closes from an event's

    ~Counts() {
        const char* file = std::getenv("ORVO_PIPE_COUNTS");
        if (file == nullptr) {
            return;
        }
        if (FILE* out = std::fopen(file, "a")) {
            std::fprintf(out,
                         "searches %ld device-opens %ld pipe-opens %ld pipe-closes %ld reads %ld "
                         "writes %ld status %ld resets %ld\n",
                         searches.load(), deviceOpens.load(), pipeOpens.load(), pipeCloses.load(),
                         reads.load(), writes.load(), statusRequests.load(), resets.load());
            std::fclose(out);
        }
    }
};

Counts& Counted() {
    static Counts counts;
    return counts;
}

HDEVINFO WINAPI GetClassDevs(const GUID* guid, PCSTR enumerator, HWND parent, DWORD flags) {
    ++Counted().searches;
    return RealPipeApi().SetupDiGetClassDevsA(guid, enumerator, parent, flags);
}

HANDLE WINAPI CreateFile(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                         DWORD disposition, DWORD flags, HANDLE templateFile) {
    const HANDLE opened =
        RealPipeApi().CreateFileA(path, access, share, security, disposition, flags, templateFile);
    Counts& counts = Counted();
    if ((flags & FILE_FLAG_OVERLAPPED) == 0) {
        ++counts.deviceOpens;
    } else {
        ++counts.pipeOpens;
        if (opened != INVALID_HANDLE_VALUE) {
            std::lock_guard<std::mutex> guard(counts.pipesLock);
            counts.pipes.insert(opened);
        }
    }
    return opened;
}

BOOL WINAPI Read(HANDLE file, LPVOID buffer, DWORD length, LPDWORD count, LPOVERLAPPED o) {
    ++Counted().reads;
    return RealPipeApi().ReadFile(file, buffer, length, count, o);
}

BOOL WINAPI Write(HANDLE file, LPCVOID data, DWORD length, LPDWORD count, LPOVERLAPPED o) {
    ++Counted().writes;
    return RealPipeApi().WriteFile(file, data, length, count, o);
}

BOOL WINAPI Control(HANDLE device, DWORD code, LPVOID input, DWORD inputSize, LPVOID output,
                    DWORD outputSize, LPDWORD count, LPOVERLAPPED o) {
    ++(code == usbpipe::kPipeStatusCode ? Counted().statusRequests : Counted().resets);
    return RealPipeApi().DeviceIoControl(device, code, input, inputSize, output, outputSize, count,
                                         o);
}

BOOL WINAPI Close(HANDLE object) {
    Counts& counts = Counted();
    {
        std::lock_guard<std::mutex> guard(counts.pipesLock);
        if (counts.pipes.erase(object) > 0) {
            ++counts.pipeCloses;
        }
    }
    return RealPipeApi().CloseHandle(object);
}

PipeApi BindCountingApi() {
    PipeApi api = RealPipeApi();
    api.SetupDiGetClassDevsA = &GetClassDevs;
    api.CreateFileA = &CreateFile;
    api.ReadFile = &Read;
    api.WriteFile = &Write;
    api.DeviceIoControl = &Control;
    api.CloseHandle = &Close;
    return api;
}

}  // namespace

const PipeApi& CountingPipeApi() {
    Counted();  // made first, so that its counts are written after every library is gone
    static const PipeApi api = BindCountingApi();
    return api;
}

}  // namespace orvo::piperig

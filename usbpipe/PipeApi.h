#pragma once
// The table of every Windows call the pipe library makes. The library reaches the system only
// through it, so that tests can put a fake device behind it; RealPipeApi() binds each entry to
// the system's own function of the same name.
#include <windows.h>
// After windows.h, whose types it needs.
#include <setupapi.h>

namespace orvo::usbpipe {

struct PipeApi {
    // Device search through the setup API.
    HDEVINFO(WINAPI* SetupDiGetClassDevsA)
    (const GUID* classGuid, PCSTR enumerator, HWND parent, DWORD flags);
    BOOL(WINAPI* SetupDiEnumDeviceInterfaces)
    (HDEVINFO set, PSP_DEVINFO_DATA device, const GUID* classGuid, DWORD index,
     PSP_DEVICE_INTERFACE_DATA iface);
    BOOL(WINAPI* SetupDiGetDeviceInterfaceDetailA)
    (HDEVINFO set, PSP_DEVICE_INTERFACE_DATA iface, PSP_DEVICE_INTERFACE_DETAIL_DATA_A detail,
     DWORD detailSize, PDWORD requiredSize, PSP_DEVINFO_DATA device);
    BOOL(WINAPI* SetupDiDestroyDeviceInfoList)(HDEVINFO set);

    // The device and its pipes, with overlapped transfers and driver requests.
    HANDLE(WINAPI* CreateFileA)
    (LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD disposition,
     DWORD flags, HANDLE templateFile);
    BOOL(WINAPI* ReadFile)
    (HANDLE file, LPVOID buffer, DWORD length, LPDWORD count, LPOVERLAPPED overlapped);
    BOOL(WINAPI* WriteFile)
    (HANDLE file, LPCVOID data, DWORD length, LPDWORD count, LPOVERLAPPED overlapped);
    BOOL(WINAPI* DeviceIoControl)
    (HANDLE device, DWORD code, LPVOID input, DWORD inputSize, LPVOID output, DWORD outputSize,
     LPDWORD count, LPOVERLAPPED overlapped);

    // Waiting for a transfer, and giving it up.
    HANDLE(WINAPI* CreateEventA)
    (LPSECURITY_ATTRIBUTES security, BOOL manualReset, BOOL initialState, LPCSTR name);
    DWORD(WINAPI* WaitForSingleObject)(HANDLE object, DWORD timeoutMs);
    BOOL(WINAPI* GetOverlappedResult)
    (HANDLE file, LPOVERLAPPED overlapped, LPDWORD count, BOOL wait);
    BOOL(WINAPI* CancelIo)(HANDLE file);
    BOOL(WINAPI* CloseHandle)(HANDLE object);
    DWORD(WINAPI* GetLastError)();
    // The caller's last error, set on every failure as Win32 functions do.
    VOID(WINAPI* SetLastError)(DWORD error);
};

const PipeApi& RealPipeApi();

}  // namespace orvo::usbpipe

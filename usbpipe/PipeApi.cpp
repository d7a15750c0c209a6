#include "PipeApi.h"

namespace orvo::usbpipe {

namespace {

PipeApi BindRealApi() {
    PipeApi api{};
    api.SetupDiGetClassDevsA = &::SetupDiGetClassDevsA;
    api.SetupDiEnumDeviceInterfaces = &::SetupDiEnumDeviceInterfaces;
    api.SetupDiGetDeviceInterfaceDetailA = &::SetupDiGetDeviceInterfaceDetailA;
    api.SetupDiDestroyDeviceInfoList = &::SetupDiDestroyDeviceInfoList;
    api.CreateFileA = &::CreateFileA;
    api.ReadFile = &::ReadFile;
    api.WriteFile = &::WriteFile;
    api.DeviceIoControl = &::DeviceIoControl;
    api.CreateEventA = &::CreateEventA;
    api.WaitForSingleObject = &::WaitForSingleObject;
    api.GetOverlappedResult = &::GetOverlappedResult;
    api.CancelIo = &::CancelIo;
    api.CloseHandle = &::CloseHandle;
    api.GetLastError = &::GetLastError;
    api.SetLastError = &::SetLastError;
    return api;
}

}  // namespace

const PipeApi& RealPipeApi() {
    static const PipeApi api = BindRealApi();
    return api;
}

}  // namespace orvo::usbpipe

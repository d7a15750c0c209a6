#pragma once
// The text key that explains a device error code: T5 for 0, E0 to E7 for 1 to 8, E9 for any
// other code. Only the low 8 bits count.
namespace orvo {

const char* DeviceErrorKey(int errorCode);

}  // namespace orvo

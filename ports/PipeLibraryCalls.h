#pragma once
// The two exports of qxUSBDevAdv.dll as the tool imports them. Builds of that library must
// match exactly: plain C functions, undecorated names, the default C calling convention.
// Each returns the byte count moved, or -1.
extern "C" {
int qxUSBAdv_WriteData(int pipe, unsigned char* data, int length, int timeout_ms);
int qxUSBAdv_ReadData(int pipe, unsigned char* data, int length, int timeout_ms);
}

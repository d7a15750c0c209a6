#pragma once
// The exports of qxUSBDev.dll and of qxUSBDevAdv.dll (PipeLibraryCalls.h): plain C functions,
// undecorated names, default C calling convention. pipe 0 to 13 (even to read, odd to write), a
// buffer of at least `length` bytes, a time-out in milliseconds; the byte count moved, or -1
// for every failure.
#include "PipeLibraryCalls.h"

extern "C" {
int qxUSB_ReadData(int pipe, unsigned char* buffer, int length, int timeoutMs);
int qxUSB_WriteData(int pipe, unsigned char* data, int length, int timeoutMs);
}

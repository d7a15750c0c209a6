#include "KeepAwake.h"

#include <windows.h>

namespace orvo {
namespace {

// Holders on this thread; the execution state is the thread's own.
thread_local int holders = 0;

}  // namespace

KeepAwake::KeepAwake() {
    if (holders++ == 0) {
        SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED);
    }
}

KeepAwake::~KeepAwake() {
    if (--holders == 0) {
        SetThreadExecutionState(ES_CONTINUOUS);
    }
}

}  // namespace orvo

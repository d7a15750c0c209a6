#pragma once
// The real table of Windows calls with the pipe library's own calls counted: searches, device
// and pipe opens, pipe closes, transfers, status and reset requests. The counts go, as one line,
// to the file ORVO_PIPE_COUNTS names when the library is unloaded (the program's end): for the
// benchmark of the real program on the pipe rig.
#include "PipeApi.h"

namespace orvo::piperig {

const usbpipe::PipeApi& CountingPipeApi();

}  // namespace orvo::piperig

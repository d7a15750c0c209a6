#pragma once
// The whole rig server program around any device: the command line, plugging the device in,
// the commands of standard input, unplugging. A server for another device is a main() that
// makes its responder and hands it here.
#include "FrameResponder.h"

namespace orvo::piperig {

int RunRigServer(int argc, char** argv, FrameResponder& device);

}  // namespace orvo::piperig

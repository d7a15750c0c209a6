// pipe-rig-server: plays the pipe device with the rig's own small responder.
#include "EchoResponder.h"
#include "RigServerMain.h"

int main(int argc, char** argv) {
    orvo::piperig::EchoResponder device;
    return orvo::piperig::RunRigServer(argc, argv, device);
}

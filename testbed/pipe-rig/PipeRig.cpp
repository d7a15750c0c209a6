#include "PipeRig.h"

namespace orvo::piperig {

PipeRig::PipeRig(std::string instanceName, FrameResponder& responder)
    : pipeFolder_(instanceName),
      server_(pipeFolder_, responder),
      registration_(std::move(instanceName)) {}

PipeRig::~PipeRig() {
    Stop();
}

bool PipeRig::Start(std::string& failure) {
    if (!server_.Start()) {
        failure = "the pipes " + pipeFolder_ +
                  "\\PIPE00 to PIPE13 cannot be made; does another server have them?";
    } else if (!link_.Create(registration_.LinkPath())) {
        failure = "the link from the device path to the named pipes cannot be made";
    } else if (!registration_.Link()) {
        failure = "the device interface cannot be written to the registry";
    } else {
        return true;
    }
    Stop();
    return false;
}

void PipeRig::Stop() {
    registration_.Unlink();
    link_.Remove();
    server_.Stop();
}

}  // namespace orvo::piperig

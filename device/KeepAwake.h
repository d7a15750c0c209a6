#pragma once
// Keeps the PC from going to sleep while its holder lives: an upgrade or a burn that sleep cut
// off half-way could leave the device without firmware or with a number not in the history.
// On Windows it is SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED), which holds for
// the calling thread, cleared with ES_CONTINUOUS alone; holders on one thread nest, and the
// outermost one clears it. Elsewhere it does nothing.
namespace orvo {

class KeepAwake {
public:
    KeepAwake();
    ~KeepAwake();
    KeepAwake(const KeepAwake&) = delete;
    KeepAwake& operator=(const KeepAwake&) = delete;
};

}  // namespace orvo

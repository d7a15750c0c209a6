#include "KeepAwake.h"

namespace orvo {

// Only Windows is kept awake by a program; the native build is for tests.
KeepAwake::KeepAwake() = default;
KeepAwake::~KeepAwake() = default;

}  // namespace orvo

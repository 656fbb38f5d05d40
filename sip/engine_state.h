// Process-wide state of the SIP adapter, shared by its source files.
#pragma once

#include <linphone/core.h>

#include <atomic>
#include <mutex>

namespace qv {

// The engine; null before start-up and after shutdown. Read and written
// only with sipLock held.
extern LinphoneCore* sipCore;

// Serialises every call into the engine: held by the iteration thread for
// one iteration and by each account and call operation for its engine
// calls. Engine notifications run with it held (inside an iteration or
// inside the operation that caused them), so the bridge never takes it.
extern std::mutex sipLock;

// True while TerminateLine asks the engine to end a call.
extern std::atomic<bool> terminating;

// The line an invite in progress is for, or -1. Written and read with
// sipLock held: the engine reports the first states of an outgoing call
// inside the invite, before the call can carry its line.
extern int pendingLine;

}  // namespace qv

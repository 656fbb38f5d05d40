// The command pipe: a local stream socket in the abstract namespace named
// "veltophone", or "veltophone-" + $USER when USER is set. The first process
// of a user serves it; a later one finds it served, sends one empty command
// (256 zero bytes) and gives up. No command is defined: what arrives is read
// and dropped. Abstract names vanish with the process, so a crash leaves
// nothing stale behind.
#pragma once

#include <string>

namespace qv {

// The pipe's name (without the leading zero byte of the abstract namespace).
std::string CommandPipeName();

// True when this process now serves the pipe (also when the server end
// could not be created); false when another process already serves it.
bool StartCommandPipe();

// Stops serving; returns once the server thread has ended. Nothing when
// the pipe is not served.
void StopCommandPipe();

// The server thread's body: accepts clients and drops what they send.
int CommandPipeServer();

}  // namespace qv

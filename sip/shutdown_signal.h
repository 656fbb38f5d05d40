// SIGINT and SIGTERM are only noted here; the user-interface thread polls
// for them (see PendingShutdownSignal in sip/sip.h) and shuts down itself.
#pragma once

namespace qv {

// Installs the handlers (once per process) and opens the notice pipe;
// SIGPIPE is ignored.
void InstallShutdownSignalHandlers();

}  // namespace qv

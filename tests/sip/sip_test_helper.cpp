// A second process for the SIP tests.
//   qv-sip-test-helper start    StartSipEngine; prints its result; exits 10 + result
//                               after shutting down (so -1 gives 9, 0 gives 10)
//   qv-sip-test-helper signal   StartSipEngine, SIGTERM to itself, then the UI loop's
//                               part: notice it, shut down; exit 0 when all went well
#include "sip/sip.h"

#include <poll.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  if (std::strcmp(argv[1], "start") == 0) {
    int result = qv::StartSipEngine();
    std::printf("%d\n", result);
    std::fflush(stdout);
    qv::ShutdownSipEngine();
    return 10 + result;
  }
  if (std::strcmp(argv[1], "signal") == 0) {
    if (qv::StartSipEngine() != 0) return 3;
    if (qv::PendingShutdownSignal() != 0) return 4;
    int fd = qv::ShutdownSignalFd();
    if (fd < 0) return 5;
    kill(getpid(), SIGTERM);
    // Still alive: the handler only noted the signal.
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 10000) != 1) return 6;
    if (qv::PendingShutdownSignal() != SIGTERM) return 7;
    if (!qv::SipEngineRunning()) return 8;
    qv::ShutdownSipEngine(qv::PendingShutdownSignal());
    if (qv::SipEngineRunning()) return 9;
    return 0;
  }
  return 2;
}

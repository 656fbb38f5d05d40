#include "shutdown_signal.h"

#include "sip/sip.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>

namespace qv {

namespace {

std::atomic<int> noticedSignal{0};
// Self-pipe: the handler writes one byte, the UI loop may watch the read end.
int noticePipe[2] = {-1, -1};
std::atomic<bool> installed{false};

void NoteSignal(int signal) {
  int savedErrno = errno;
  int expected = 0;
  noticedSignal.compare_exchange_strong(expected, signal);
  if (noticePipe[1] >= 0) {
    char byte = static_cast<char>(signal);
    ssize_t ignored = write(noticePipe[1], &byte, 1);
    (void)ignored;
  }
  errno = savedErrno;
}

}  // namespace

void InstallShutdownSignalHandlers() {
  if (installed.exchange(true)) return;
  if (pipe2(noticePipe, O_CLOEXEC | O_NONBLOCK) != 0) noticePipe[0] = noticePipe[1] = -1;
  struct sigaction action {};
  action.sa_handler = NoteSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  // A SIP server that closes a TCP connection must not end the process.
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGPIPE, &ignore, nullptr);
}

int PendingShutdownSignal() { return noticedSignal.load(); }

int ShutdownSignalFd() { return noticePipe[0]; }

}  // namespace qv

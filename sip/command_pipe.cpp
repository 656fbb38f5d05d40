#include "command_pipe.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace qv {

namespace {

constexpr size_t kCommandSize = 256;
// A client that connects and sends nothing is dropped after this long, so
// that it cannot keep the server (and the shutdown) waiting.
constexpr int kClientReadTimeoutMs = 1000;

std::string commandPipeName;
int serverEnd = -1;
std::thread serverThread;
std::atomic<bool> pipeRunning{true};

socklen_t AbstractAddress(const std::string& name, sockaddr_un& addr) {
  std::memset(&addr, 0, sizeof addr);
  addr.sun_family = AF_UNIX;
  // sun_path[0] stays 0: the abstract namespace. Longer names are cut.
  size_t length = std::min(name.size(), sizeof addr.sun_path - 1);
  std::memcpy(addr.sun_path + 1, name.data(), length);
  return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
}

int Connect(const std::string& name) {
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_un addr;
  socklen_t length = AbstractAddress(name, addr);
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), length) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

void WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = send(fd, data, size, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // a failed write is ignored
    data += n;
    size -= static_cast<size_t>(n);
  }
}

void DropClient(int client) {
  char buffer[kCommandSize] = {};
  pollfd p{client, POLLIN, 0};
  if (poll(&p, 1, kClientReadTimeoutMs) > 0) {
    ssize_t ignored = recv(client, buffer, sizeof buffer, 0);
    (void)ignored;  // what was read is dropped
  }
  close(client);
}

}  // namespace

std::string CommandPipeName() {
  const char* user = std::getenv("USER");
  if (!user) return "veltophone";
  std::string name = std::string("veltophone-") + user;
  if (name.size() > 1023) name.resize(1023);
  return name;
}

bool StartCommandPipe() {
  if (serverEnd >= 0) return true;
  commandPipeName = CommandPipeName();
  int client = Connect(commandPipeName);
  if (client >= 0) {
    char empty[kCommandSize] = {};
    WriteAll(client, empty, sizeof empty);
    close(client);
    commandPipeName.clear();
    return false;
  }
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un addr;
  socklen_t length = AbstractAddress(commandPipeName, addr);
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&addr), length) != 0 || listen(fd, 8) != 0) {
    // Runs without the single-instance guard; no server thread.
    if (fd >= 0) close(fd);
    commandPipeName.clear();
    return true;
  }
  serverEnd = fd;
  pipeRunning = true;
  serverThread = std::thread(CommandPipeServer);
  return true;
}

int CommandPipeServer() {
  for (;;) {
    int client = accept4(serverEnd, nullptr, nullptr, SOCK_CLOEXEC);
    if (!pipeRunning) {
      if (client >= 0) close(client);
      break;
    }
    if (client >= 0) {
      DropClient(client);
    } else if (errno != EINTR && errno != ECONNABORTED) {
      // The end is broken: wait for the stop rather than spin.
      poll(nullptr, 0, 100);
    }
  }
  return 0;
}

void StopCommandPipe() {
  if (serverEnd < 0) return;
  pipeRunning = false;
  int client = Connect(commandPipeName);
  if (client >= 0) {
    WriteAll(client, " ", 1);
    close(client);
  } else {
    // Could not connect (name taken over?): wake accept() directly.
    shutdown(serverEnd, SHUT_RDWR);
  }
  if (serverThread.joinable()) serverThread.join();
  close(serverEnd);
  serverEnd = -1;
  commandPipeName.clear();
}

}  // namespace qv

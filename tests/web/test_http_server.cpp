#include "test_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace qv::test {

namespace {

int BindLoopback(int& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  int one = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  socklen_t len = sizeof addr;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    ::close(fd);
    return -1;
  }
  port = ntohs(addr.sin_port);
  return fd;
}

bool WaitReadable(int fd, const std::atomic<bool>& stop) {
  while (!stop) {
    pollfd p{fd, POLLIN, 0};
    const int r = ::poll(&p, 1, 50);
    if (r > 0) return true;
    if (r < 0 && errno != EINTR) return false;
  }
  return false;
}

}  // namespace

TestHttpServer::TestHttpServer() {
  listenFd_ = BindLoopback(port_);
  if (listenFd_ >= 0 && ::listen(listenFd_, 64) == 0) acceptor_ = std::thread([this] { AcceptLoop(); });
}

TestHttpServer::~TestHttpServer() {
  stop_ = true;
  if (acceptor_.joinable()) acceptor_.join();
  for (auto& t : workers_) t.join();
  if (listenFd_ >= 0) ::close(listenFd_);
}

std::string TestHttpServer::Url(std::string_view target) const {
  return "http://127.0.0.1:" + std::to_string(port_) + std::string(target);
}

void TestHttpServer::Route(const std::string& target, std::string response) {
  std::lock_guard lock(mutex_);
  routes_[target] = std::move(response);
}

void TestHttpServer::RouteSilent(const std::string& target) {
  std::lock_guard lock(mutex_);
  silent_[target] = true;
}

std::vector<std::string> TestHttpServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::string TestHttpServer::Response(int status, std::string_view body, std::string_view extraHeaders) {
  std::string r = "HTTP/1.1 " + std::to_string(status) + (status == 200 ? " OK" : " Error") + "\r\n";
  r += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  r += "Connection: close\r\n";
  r += extraHeaders;
  r += "\r\n";
  r += body;
  return r;
}

void TestHttpServer::AcceptLoop() {
  while (WaitReadable(listenFd_, stop_)) {
    const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    std::lock_guard lock(mutex_);
    workers_.emplace_back([this, fd] { Serve(fd); });
  }
}

void TestHttpServer::Serve(int fd) {
  std::string head;
  char buf[4096];
  while (head.find("\r\n\r\n") == std::string::npos && WaitReadable(fd, stop_)) {
    const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
    if (n <= 0) break;
    head.append(buf, static_cast<size_t>(n));
  }
  std::string target;
  if (const size_t sp = head.find(' '); sp != std::string::npos) {
    target = head.substr(sp + 1, head.find(' ', sp + 1) - sp - 1);
  }
  std::string response;
  bool silent = false;
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(head);
    silent = silent_.count(target) > 0;
    auto it = routes_.find(target);
    response = it != routes_.end() ? it->second : Response(404, "not found");
  }
  if (silent) {
    while (WaitReadable(fd, stop_)) {
      if (::recv(fd, buf, sizeof buf, 0) <= 0) break;
    }
    ::close(fd);
    return;
  }
  std::string_view rest = response;
  while (!rest.empty()) {
    const ssize_t n = ::send(fd, rest.data(), rest.size(), MSG_NOSIGNAL);
    if (n <= 0) break;
    rest.remove_prefix(static_cast<size_t>(n));
  }
  ::shutdown(fd, SHUT_WR);
  // Let the client read everything before the socket goes away.
  while (WaitReadable(fd, stop_)) {
    if (::recv(fd, buf, sizeof buf, 0) <= 0) break;
  }
  ::close(fd);
}

int ClosedPort() {
  int port = 0;
  const int fd = BindLoopback(port);
  if (fd >= 0) ::close(fd);
  return port;
}

}  // namespace qv::test

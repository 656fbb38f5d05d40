// A small HTTP server on 127.0.0.1 for tests: each route answers with
// fixed raw bytes, or holds the connection open without answering.
#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace qv::test {

class TestHttpServer {
 public:
  TestHttpServer();
  ~TestHttpServer();
  TestHttpServer(const TestHttpServer&) = delete;
  TestHttpServer& operator=(const TestHttpServer&) = delete;

  int port() const { return port_; }
  std::string Url(std::string_view target) const;

  // Raw response bytes for a request target (path and query).
  void Route(const std::string& target, std::string response);
  // Reads the request and never answers.
  void RouteSilent(const std::string& target);
  // Request heads received so far.
  std::vector<std::string> Requests() const;

  // A complete response with Content-Length and "Connection: close".
  static std::string Response(int status, std::string_view body, std::string_view extraHeaders = {});

 private:
  void AcceptLoop();
  void Serve(int fd);

  int listenFd_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::map<std::string, std::string> routes_;
  std::map<std::string, bool> silent_;
  std::vector<std::string> requests_;
  std::vector<std::thread> workers_;
  std::thread acceptor_;
};

// A port on 127.0.0.1 where nothing listens.
int ClosedPort();

}  // namespace qv::test

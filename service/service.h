// The service's HTTP servers on loopback, each on its own port, and the
// test control when asked for.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "context.h"
#include "ringer.h"
#include "test_control.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace qv::service {

class Database;

inline constexpr int kApiPort = 8899;
inline constexpr int kContactsPort = 8901;
inline constexpr int kPaymentPort = 8902;
inline constexpr int kUserCentrePort = 8903;
inline constexpr int kMobileSitePort = 8904;
inline constexpr int kPublicSitePort = 8905;
inline constexpr int kLookupPort = 8906;
inline constexpr int kTestControlPort = 8909;

class Service {
 public:
  Service(ServiceConfig config, Database& db);
  ~Service();
  Service(const Service&) = delete;
  Service& operator=(const Service&) = delete;

  // Binds every port (all or nothing) and starts serving.
  bool Start(std::string* error);
  void Stop();

 private:
  struct Front {
    int port = 0;
    std::map<std::string, Route> routes;
    size_t threads = 8;
    std::unique_ptr<httplib::Server> server;
    std::thread thread;
  };

  void AddFront(int port, std::vector<Route> routes, size_t threads);
  void Handle(const Front& front, const httplib::Request& req, httplib::Response& res);
  Reply Answer(const Front& front, const httplib::Request& req);
  Reply Dispatch(const Front& front, const httplib::Request& req);
  Reply Control(const httplib::Request& req);

  ServiceConfig config_;
  Database& db_;
  Ringer ringer_;
  std::unique_ptr<TestControl> control_;
  std::vector<std::unique_ptr<Front>> fronts_;
  std::unique_ptr<httplib::Server> controlServer_;
  std::thread controlThread_;
};

}  // namespace qv::service

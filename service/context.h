// What every handler works with, and the form of a route.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "query.h"
#include "reply.h"

namespace qv::service {

class Database;
class Ringer;

struct ServiceConfig {
  std::string dbPath;
  std::string bindHost = "127.0.0.1";
  std::string sipDomain = "127.0.0.1";
  // The public web site's home page, offered as the update address.
  std::string siteHome = "http://127.0.0.1:8905/";
  // The demo phone's command input (a FIFO); empty: nobody to ring with.
  std::string ringFifo;
  bool testControl = false;
};

struct Context {
  Database& db;
  const ServiceConfig& config;
  Ringer& ringer;
};

using Handler = std::function<Reply(Context&, const Query&)>;

struct Route {
  std::string path;
  Handler handler;
  // The answer to a query that is not valid UTF-8 or far too long.
  Reply refusal;
};

// The servers, each on its own port.
std::vector<Route> AccountApiRoutes();   // 8899: account API and messages
std::vector<Route> ContactsRoutes();     // 8901
std::vector<Route> PaymentRoutes();      // 8902
std::vector<Route> UserCentreRoutes();   // 8903
std::vector<Route> MobileSiteRoutes();   // 8904
std::vector<Route> PublicSiteRoutes();   // 8905
std::vector<Route> LookupRoutes();       // 8906

}  // namespace qv::service

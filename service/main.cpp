// qv-service: the service's servers on this machine.
//
//   qv-service [--test] [--db FILE] [--ring-fifo FILE]
//       serve on 127.0.0.1 until SIGINT or SIGTERM; --test opens the test
//       control on port 8909
//   qv-service seed [--db FILE]
//       create the tables and replace all data with the demo data
//   qv-service callee
//       print the demo callee's number and SIP password
//
// The database is $QV_RUN_DIR/veltophone.sqlite unless --db names one; the
// SIP domain is $QV_SIP_DOMAIN (127.0.0.1 by default). The demo phone's
// command FIFO defaults to $QV_RUN_DIR/callee.fifo.
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "database.h"
#include "schema.h"
#include "seed.h"
#include "service.h"
#include "web/service_hosts.h"

namespace {

using namespace qv::service;

int Usage() {
  std::fprintf(stderr,
               "usage: qv-service [--test] [--db FILE] [--ring-fifo FILE]\n"
               "       qv-service seed [--db FILE]\n"
               "       qv-service callee\n");
  return 2;
}

std::string RunDir() {
  const char* dir = std::getenv("QV_RUN_DIR");
  return dir && *dir ? std::string(dir) : std::string(".");
}

std::unique_ptr<Database> OpenDatabase(const std::string& path) {
  std::string error;
  auto db = Database::Open(path, &error);
  if (!db) {
    std::fprintf(stderr, "qv-service: cannot open %s: %s\n", path.c_str(), error.c_str());
    return nullptr;
  }
  if (!CreateSchema(*db)) {
    std::fprintf(stderr, "qv-service: cannot create the tables in %s\n", path.c_str());
    return nullptr;
  }
  return db;
}

int Serve(ServiceConfig config) {
  // Signals are taken by sigwait below, never by a server thread.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  auto db = OpenDatabase(config.dbPath);
  if (!db) return 1;
  Service service(config, *db);
  std::string error;
  if (!service.Start(&error)) {
    std::fprintf(stderr, "qv-service: %s\n", error.c_str());
    return 1;
  }
  std::printf("qv-service: ready (database %s%s)\n", config.dbPath.c_str(),
              config.testControl ? ", test control on 127.0.0.1:8909" : "");
  std::fflush(stdout);
  int signal = 0;
  sigwait(&stopSignals, &signal);
  service.Stop();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  ServiceConfig config;
  config.dbPath = RunDir() + "/veltophone.sqlite";
  config.ringFifo = RunDir() + "/callee.fifo";
  config.sipDomain = qv::ServiceHost(qv::Service::SipDomain);
  config.siteHome = qv::ServiceBase(qv::Service::Site) + "/";
  std::string command;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--test") {
      config.testControl = true;
    } else if (arg == "--db" && i + 1 < argc) {
      config.dbPath = argv[++i];
    } else if (arg == "--ring-fifo" && i + 1 < argc) {
      config.ringFifo = argv[++i];
    } else if ((arg == "seed" || arg == "callee") && command.empty() && i == 1) {
      command = arg;
    } else {
      return Usage();
    }
  }
  if (command == "callee") {
    std::printf("%s %s\n", std::string(kDemoCalleeNumber).c_str(), std::string(kDemoCalleePassword).c_str());
    return 0;
  }
  if (command == "seed") {
    auto db = OpenDatabase(config.dbPath);
    if (!db) return 1;
    if (!SeedDemoData(*db, config)) {
      std::fprintf(stderr, "qv-service: seeding %s failed\n", config.dbPath.c_str());
      return 1;
    }
    std::printf("%s", DemoSummary().c_str());
    return 0;
  }
  return Serve(config);
}

// Figures of the SIP engine adapter (see CMakeLists.txt). Uses the running
// kamailio of scripts/kamailio, or starts one in run-data/bench-sip.
#include "sip/sip.h"
#include "sip_test_support.h"
#include "storage/text.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double CpuSeconds() {
  std::ifstream in("/proc/self/stat");
  std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::istringstream fields(all.substr(all.rfind(')') + 2));
  std::string field;
  long utime = 0, stime = 0;
  for (int i = 3; fields >> field; ++i) {
    if (i == 14) utime = std::stol(field);
    if (i == 15) {
      stime = std::stol(field);
      break;
    }
  }
  return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double RssMb() {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
  return 0;
}

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void Print(const char* what, std::vector<double> values) {
  if (values.empty()) {
    std::printf("%-34s no samples\n", what);
    return;
  }
  std::sort(values.begin(), values.end());
  std::printf("%-34s median %7.1f ms   min %7.1f   max %7.1f   (n=%zu)\n", what, values[values.size() / 2],
              values.front(), values.back(), values.size());
}

// Waits with a 1 ms poll; the time of the first true, or nothing.
bool WaitFast(const std::function<bool()>& condition, Clock::time_point& when) {
  auto end = Clock::now() + 20s;
  while (Clock::now() < end) {
    if (condition()) {
      when = Clock::now();
      return true;
    }
    std::this_thread::sleep_for(1ms);
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  int idleSeconds = 15;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--full")) idleSeconds = 60;
    else if (!std::strcmp(argv[i], "--idle-seconds") && i + 1 < argc) idleSeconds = std::atoi(argv[++i]);
    else {
      std::fprintf(stderr, "usage: bench_sip [--idle-seconds N | --full]\n");
      return 2;
    }
  }

  bool startedServer = false;
  std::string kamailioEnv = std::string("QV_RUN_DIR=") + QV_SOURCE_DIR + "/run-data/bench-sip ";
  if (qvtest::SipServer::RunDir().empty()) {
    if (std::system((kamailioEnv + QV_SOURCE_DIR + "/scripts/kamailio start").c_str()) != 0) {
      std::fprintf(stderr, "bench_sip: kamailio did not start\n");
      return 1;
    }
    startedServer = true;
  }

  int rc = 0;
  {
    setenv("QV_SIP_USE_FILES", QV_BENCH_WAV, 1);
    qvtest::TempHome home;
    double rssBefore = RssMb();
    if (qv::StartSipEngine() != 0) {
      std::fprintf(stderr, "bench_sip: the engine did not start\n");
      return 1;
    }
    std::string me = qvtest::UniqueNumber();
    qvtest::SipServer::AddSubscriber(me, "bench-pass");

    // Registration: from RegisterSipAccount to the engine's registered state.
    std::vector<double> registration;
    for (int i = 0; i < 10; ++i) {
      auto start = Clock::now();
      qv::RegisterSipAccount(qv::Widen(me), u"bench-pass", true);
      Clock::time_point done;
      if (!WaitFast([] { return qv::SipAccountRegistered(); }, done)) break;
      registration.push_back(Ms(done - start));
      if (i < 9) qv::RemoveSipAccount();
    }

    std::string farNumber = qvtest::UniqueNumber();
    qvtest::SipServer::AddSubscriber(farNumber, "far-end");
    qvtest::TestPhoneProcess far(farNumber, "far-end");
    far.WaitFor("registered");

    std::vector<double> ringing, connected;
    for (int i = 0; i < 10; ++i) {
      // Ringing: the far end lets it ring, then hangs up.
      far.Send("ring");
      auto start = Clock::now();
      if (!qv::InviteOnLine(0, qv::Widen(farNumber))) break;
      Clock::time_point t;
      if (WaitFast([] { return qv::LineStatus(0) == qv::kRemoteRinging; }, t)) ringing.push_back(Ms(t - start));
      far.Send("decline busy");
      qvtest::WaitUntil([] { return !qv::LineHasCall(0); });
      qv::ClearLineStatus(0);
      // Connected: the far end answers at once.
      far.Send("autoanswer 0");
      start = Clock::now();
      if (!qv::InviteOnLine(0, qv::Widen(farNumber))) break;
      if (WaitFast([] { return qv::LineStatus(0) == qv::kCallAnswered; }, t)) connected.push_back(Ms(t - start));
      far.Send("hangup");
      qvtest::WaitUntil([] { return !qv::LineHasCall(0); });
      qv::ClearLineStatus(0);
    }

    // Idle: a registered engine, no call.
    std::this_thread::sleep_for(1s);
    double cpu0 = CpuSeconds();
    auto t0 = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
    double cpu = (CpuSeconds() - cpu0) / std::chrono::duration<double>(Clock::now() - t0).count() * 100.0;
    double rss = RssMb();

    std::printf("SIP engine (liblinphone, 23 ms iteration), kamailio on 127.0.0.1:10090 UDP\n");
    Print("registration (digest, UDP)", registration);
    Print("invite -> far-end ringing", ringing);
    Print("invite -> connected", connected);
    std::printf("%-34s %.2f %% of one core over %d s\n", "idle registered engine CPU", cpu, idleSeconds);
    std::printf("%-34s %.1f MB (process before start: %.1f MB)\n", "resident memory", rss, rssBefore);
    if (registration.empty() || ringing.empty() || connected.empty()) rc = 1;
    qv::ShutdownSipEngine();
    unsetenv("QV_SIP_USE_FILES");
  }
  if (startedServer) std::system((kamailioEnv + QV_SOURCE_DIR + "/scripts/kamailio stop").c_str());
  return rc;
}

// Figures of the SIP engine adapter (see CMakeLists.txt). Uses the running
// kamailio of scripts/kamailio, or starts one in run-data/bench-sip.
#include "sip/sip.h"
#include "bench/common/bench_kamailio.h"
#include "bench/common/measure.h"
#include "sip_test_support.h"
#include "storage/text.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

using qvbench::CpuSeconds;
using qvbench::Ms;
using qvbench::RssMb;
using qvbench::WaitFast;

void Print(const char* what, std::vector<double> values) {
  if (values.empty()) {
    std::printf("%-34s no samples\n", what);
    return;
  }
  std::sort(values.begin(), values.end());
  std::printf("%-34s median %7.1f ms   min %7.1f   max %7.1f   (n=%zu)\n", what, values[values.size() / 2],
              values.front(), values.back(), values.size());
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

  qvbench::BenchKamailio kamailio("bench-sip");
  if (!kamailio.ok()) {
    std::fprintf(stderr, "bench_sip: kamailio did not start\n");
    return 1;
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
  return rc;
}

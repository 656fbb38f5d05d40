// Figures of calls placed from the main window (headless toolkit, real SIP
// engine sending a WAV file) through kamailio on loopback to test phones:
//   - call button -> far end ringing (the test phone reports the incoming
//     call) and -> the line reads "Remote ringing"
//   - call button -> the line reads "Call answered" (far end answering at
//     once); the window shows it at its next one-second poll
//   - CPU and memory of the phone process with seven call lines up (six
//     answered SIP calls, one on line 6 without a SIP call)
// Uses the running kamailio (scripts/stack start), or starts one in
// run-data/bench-calls. The window's service requests go to the local
// service when it runs; without it they fail quietly.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "sip/sip.h"
#include "bench/common/bench_kamailio.h"
#include "bench/common/measure.h"
#include "sip_test_support.h"
#include "storage/config.h"
#include "storage/hooks.h"
#include "storage/text.h"
#include "ui/main/qvui.h"
#include "ui/main/window_keeper.h"
#include "ui/toolkit/headless/driver.h"
#include "ui/toolkit/headless/headless_platform.h"
#include "ui/toolkit/paint_manager.h"
#include "ui/toolkit/platform.h"
#include "web/sign.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

using qvbench::CpuSeconds;
using qvbench::Ms;
using qvbench::RssMb;

void Print(const char* what, std::vector<double> values) {
  if (values.empty()) {
    std::printf("%-40s no samples\n", what);
    return;
  }
  std::sort(values.begin(), values.end());
  std::printf("%-40s median %7.1f ms   p90 %7.1f   min %7.1f   max %7.1f   (n=%zu)\n", what,
              values[values.size() / 2], values[values.size() * 9 / 10], values.front(), values.back(),
              values.size());
}

// Waits with a 1 ms poll, running the window's posted work; the time of
// the first true, or false after 20 s.
bool WaitFast(tk::headless::HeadlessPlatform& platform, const std::function<bool()>& condition,
              Clock::time_point& when) {
  return qvbench::WaitFast(
      [&] {
        platform.RunPending();
        return condition();
      },
      when);
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

}  // namespace

int main() {
  qvbench::BenchKamailio kamailio("bench-calls");
  if (!kamailio.ok()) {
    std::fprintf(stderr, "bench_calls: kamailio did not start\n");
    return 1;
  }

  int rc = 0;
  {
    setenv("QV_SIP_USE_FILES", QV_BENCH_WAV, 1);
    qvtest::TempHome home;
    auto& platform = tk::headless::InstallHeadless();
    tk::InstallStorageHooks();
    tk::CPaintManagerUI::SetInstancePath(qv::Widen(QV_BIN_DIR "/"));
    platform.SetMessageBoxHandler([](const tk::headless::MessageBoxRecord&) { return tk::IDOK; });
    tk::headless::Driver driver(platform);
    qv::CreateDataFolder();
    const double rssBefore = RssMb();
    if (qv::StartSipEngine() != 0) {
      std::fprintf(stderr, "bench_calls: the engine did not start\n");
      return 1;
    }
    const std::string me = qvtest::UniqueNumber();
    qvtest::SipServer::AddSubscriber(me, "bench-pass");
    auto* w = KeepUntilExit(new QVUI());
    w->phone = qv::Widen(me);
    w->uid = u"0";
    w->password = u"bench-pass";
    w->sign = qv::RequestSign(w->uid);
    theMainWindow = w;
    w->mainHwnd = w->Create(nullptr, u"Velto网络电话", tk::WS_OVERLAPPEDWINDOW | tk::WS_VISIBLE, 0, 0, 0, 300, 550);
    w->userType = u"1";  // a regular subscriber, whatever the service says
    qv::RegisterSipAccount(w->phone, w->password, true);
    Clock::time_point t;
    if (!WaitFast(platform, [] { return qv::SipAccountRegistered(); }, t)) {
      std::fprintf(stderr, "bench_calls: not registered\n");
      return 1;
    }
    platform.RunPending();
    w->userType = u"1";

    std::vector<std::unique_ptr<qvtest::TestPhoneProcess>> phones;
    std::vector<std::string> numbers;
    for (int i = 0; i < 7; ++i) {
      numbers.push_back(qvtest::UniqueNumber());
      qvtest::SipServer::AddSubscriber(numbers.back(), "far-end");
      phones.push_back(std::make_unique<qvtest::TestPhoneProcess>(numbers.back(), "far-end"));
      phones.back()->WaitFor("registered");
    }
    auto& far = *phones[0];
    auto dial = [&](const std::string& number) {
      w->numberInput->SetText(qv::Widen(number));
      return driver.Click(w, u"CalledBtn");
    };
    auto endAll = [&] {
      for (auto& p : phones) p->Send("hangup");
      qvtest::WaitUntil([] {
        for (int line = 0; line < 6; ++line)
          if (qv::LineHasCall(line)) return false;
        return true;
      });
      driver.AdvanceTime(1000);  // the poll ends the lines
      while (w->currentLine >= 0) w->EndCall(w->currentLine, u"");
      for (auto& p : phones) p->Send("ring");
    };

    std::vector<double> farRinging, ringing, answered;
    for (int i = 0; i < 10; ++i) {
      // Ringing: the far end lets it ring.
      const size_t before = Count(far.Transcript(), "state IncomingReceived");
      auto start = Clock::now();
      if (!dial(numbers[0])) break;
      if (WaitFast(platform, [&] { return Count(far.Transcript(), "state IncomingReceived") > before; }, t))
        farRinging.push_back(Ms(t - start));
      if (WaitFast(platform, [] { return qv::LineStatus(0) == qv::kRemoteRinging; }, t))
        ringing.push_back(Ms(t - start));
      far.Send("answer");
      qvtest::WaitUntil([] { return qv::LineStatus(0) == qv::kCallAnswered; });
      endAll();
      // Answered at once.
      far.Send("autoanswer 0");
      start = Clock::now();
      if (!dial(numbers[0])) break;
      if (WaitFast(platform, [] { return qv::LineStatus(0) == qv::kCallAnswered; }, t))
        answered.push_back(Ms(t - start));
      endAll();
      far.Send("autoanswer off");
    }

    // CPU and memory over 10 s of calls up, the poll ticking each second.
    auto measure = [&](double& cpu, double& rss) {
      std::this_thread::sleep_for(1s);
      const double cpu0 = CpuSeconds();
      const auto t0 = Clock::now();
      for (int tick = 0; tick < 10; ++tick) {
        std::this_thread::sleep_for(1s);
        driver.AdvanceTime(1000);
      }
      cpu = (CpuSeconds() - cpu0) / std::chrono::duration<double>(Clock::now() - t0).count() * 100.0;
      rss = RssMb();
    };
    for (auto& p : phones) p->Send("autoanswer 0");
    double oneCpu = 0, oneRss = 0;
    dial(numbers[0]);
    const bool one = qvtest::WaitUntil([] { return qv::LineStatus(0) == qv::kCallAnswered; });
    measure(oneCpu, oneRss);
    endAll();
    for (auto& p : phones) p->Send("autoanswer 0");

    // Seven lines up: six answered calls and line 6.
    bool up = true;
    for (int line = 0; line < 6 && up; ++line) {
      w->selectedContactPhone = qv::Widen(numbers[line]);
      w->RequestCall(u"2");
      up = qvtest::WaitUntil([&] { return qv::LineStatus(line) == qv::kCallAnswered; });
    }
    w->selectedContactPhone = qv::Widen(numbers[6]);
    w->RequestCall(u"2");
    up = up && w->lineInfo[6][0] == qv::Widen(numbers[6]);
    double cpu = 0, rss = 0;
    measure(cpu, rss);
    endAll();

    std::printf("Calls from the main window, SIP engine -> kamailio 127.0.0.1:10090 UDP -> test phone\n");
    Print("call button -> far end ringing", farRinging);
    Print("call button -> line reads Remote ringing", ringing);
    Print("call button -> line reads Call answered", answered);
    std::printf("%-40s the next poll tick (1000 ms period): up to 1 s more\n", "  window shows the status at");
    if (one) {
      std::printf("%-40s %.2f %% of one core, %.1f MB resident\n", "one call up: phone process", oneCpu, oneRss);
    }
    if (up) {
      std::printf("%-40s %.2f %% of one core over 10 s (one call has the sound, five are held)\n",
                  "seven lines up: phone process CPU", cpu);
      std::printf("%-40s %.1f MB (process before the engine: %.1f MB)\n", "seven lines up: resident memory", rss,
                  rssBefore);
    } else {
      std::printf("seven lines up: the calls did not all connect\n");
      rc = 1;
    }
    if (farRinging.empty() || ringing.empty() || answered.empty()) rc = 1;
    w->DestroyWindow();
    theMainWindow = nullptr;
    phones.clear();
    qv::ShutdownSipEngine();
    unsetenv("QV_SIP_USE_FILES");
  }
  return rc;
}

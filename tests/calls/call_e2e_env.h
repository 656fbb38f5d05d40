// End-to-end call tests: the main window on the headless toolkit with the
// real SIP engine (sending a WAV file instead of a sound card), registered
// at the stack's kamailio as a demo subscriber of the local service, and
// test phone processes as the far ends. The engine runs on its own thread
// in real time; the window's one-second poll is ticked by the test.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "call_window_env.h"
#include "service_client.h"
#include "sip_test_support.h"
#include "web/sign.h"

namespace calltest {

using namespace std::chrono_literals;
using qvtest::WaitUntil;

struct Subscriber {
  std::u16string phone, uid, password;
};
// Demo accounts of the local service (also SIP subscribers of kamailio).
inline const Subscriber kRegular{u"13800000001", u"10001", u"123456"};
inline const Subscriber kTrial{u"13900000002", u"10002", u"123456"};

class CallE2ETest : public ::testing::Test {
 protected:
  static constexpr const char* kFarPassword = "far-end";

  void SetUp() override {
    ASSERT_FALSE(qvtest::SipServer::RunDir().empty()) << "no SIP server (scripts/stack start --test)";
    ASSERT_EQ(svctest::Control("health"), "OK") << "no service test control (scripts/stack start --test)";
    svctest::Control("scripts/clear");
    svctest::Control("requests/clear");
    setenv("QV_SIP_USE_FILES", QV_TEST_WAV, 1);
    home_ = std::make_unique<qvtest::TempHome>();
    ASSERT_EQ(qv::StartSipEngine(), 0);
  }

  void TearDown() override {
    window_.Close();
    qv::ShutdownSipEngine();
    phones_.clear();
    home_.reset();
    unsetenv("QV_SIP_USE_FILES");
  }

  // Logs `who` in as the login window would: the main window with the
  // account members, and the SIP account registered at kamailio. Waits
  // until the service has told the subscriber's kind.
  QVUI* LogIn(const Subscriber& who = kRegular) {
    // The demo data has the account at the SIP server already; a SIP
    // server of the SIP tests' own may not.
    EXPECT_TRUE(qvtest::SipServer::AddSubscriber(qv::ToUtf8(who.phone), qv::ToUtf8(who.password)));
    QVUI* w = window_.Open(who.phone, who.uid, who.password, qv::RequestSign(who.uid));
    qv::RegisterSipAccount(who.phone, who.password, true);
    EXPECT_TRUE(WaitUntil([&] { return qvtest::SipServer::Registered(qv::ToUtf8(who.phone)); }))
        << "not registered";
    EXPECT_TRUE(window_.driver().PumpUntil([&] { return !w->userType.empty(); })) << "no subscriber kind";
    return w;
  }

  // A registered test phone; `number` empty for a number of its own.
  qvtest::TestPhoneProcess* Phone(std::vector<std::string> args = {}, std::string number = {}) {
    if (number.empty()) number = qvtest::UniqueNumber();
    EXPECT_TRUE(qvtest::SipServer::AddSubscriber(number, kFarPassword));
    auto phone = std::make_unique<qvtest::TestPhoneProcess>(number, kFarPassword, std::move(args));
    EXPECT_NE(phone->WaitFor("registered"), "") << phone->Transcript();
    qvtest::TestPhoneProcess* raw = phone.get();
    numbers_[raw] = number;
    phones_.push_back(std::move(phone));
    return raw;
  }
  std::u16string NumberOf(qvtest::TestPhoneProcess* phone) { return qv::Widen(numbers_[phone]); }

  bool WaitStatus(int line, std::u16string_view text, std::chrono::milliseconds limit = 20s) {
    return WaitUntil([&] { return qv::LineStatus(line) == text; }, limit);
  }
  bool WaitIncoming(std::chrono::milliseconds limit = 20s) {
    return WaitUntil([&] { return qv::LineStatus(qv::kIncomingLine).starts_with(qv::kIncomingCallPrefix); }, limit);
  }
  // Polls until the window's state satisfies `condition`, one tick at a
  // time, while the engine catches up.
  bool TickUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = 20s) {
    return WaitUntil(
        [&] {
          window_.Tick();
          return condition();
        },
        limit);
  }

  CallWindow window_;
  std::unique_ptr<qvtest::TempHome> home_;
  std::vector<std::unique_ptr<qvtest::TestPhoneProcess>> phones_;
  std::map<qvtest::TestPhoneProcess*, std::string> numbers_;
};

}  // namespace calltest

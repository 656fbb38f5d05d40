// A running engine in a private home folder, sending a WAV file as audio,
// with a subscriber of its own at the SIP server.
#pragma once

#include "sip/sip.h"
#include "sip_test_support.h"
#include "storage/text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

class SipEngineTest : public ::testing::Test {
 protected:
  static constexpr const char* kPassword = "pass-1234";

  void SetUp() override {
    ASSERT_FALSE(qvtest::SipServer::RunDir().empty()) << "no SIP server (scripts/kamailio start)";
    setenv("QV_SIP_USE_FILES", QV_TEST_WAV, 1);
    home_ = std::make_unique<qvtest::TempHome>();
    ASSERT_EQ(qv::StartSipEngine(), 0);
    me_ = qvtest::UniqueNumber();
    ASSERT_TRUE(qvtest::SipServer::AddSubscriber(me_, kPassword));
  }

  void TearDown() override {
    qv::ShutdownSipEngine();
    home_.reset();
    unsetenv("QV_SIP_USE_FILES");
  }

  void RegisterMe() {
    qv::RegisterSipAccount(qv::Widen(me_), qv::Widen(kPassword), true);
    ASSERT_TRUE(qvtest::WaitUntil([&] { return qvtest::SipServer::Registered(me_); })) << "no registration";
    ASSERT_TRUE(qvtest::WaitUntil([] { return qv::SipAccountRegistered(); })) << "no registration";
  }

  // A registered test phone with a number of its own.
  std::unique_ptr<qvtest::TestPhoneProcess> Phone(std::vector<std::string> args = {}) {
    std::string number = qvtest::UniqueNumber();
    EXPECT_TRUE(qvtest::SipServer::AddSubscriber(number, "far-end"));
    auto phone = std::make_unique<qvtest::TestPhoneProcess>(number, "far-end", std::move(args));
    numbers_[phone.get()] = number;
    EXPECT_NE(phone->WaitFor("registered"), "") << phone->Transcript();
    return phone;
  }

  std::string NumberOf(qvtest::TestPhoneProcess* phone) { return numbers_[phone]; }

  // Waits until the line's slot reads `text`.
  bool WaitStatus(int line, std::u16string_view text, std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    return qvtest::WaitUntil([&] { return qv::LineStatus(line) == text; }, limit);
  }

  std::string Status(int line) { return qv::ToUtf8(qv::LineStatus(line)); }

  std::unique_ptr<qvtest::TempHome> home_;
  std::string me_;
  std::map<qvtest::TestPhoneProcess*, std::string> numbers_;
};

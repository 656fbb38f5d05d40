// Through the whole local stack: accounts made by the service are SIP
// accounts of the SIP server at once, and a trial subscriber's callback
// request makes the service ring the subscriber for real.
#include <gtest/gtest.h>

#include "service_client.h"
#include "sip_test_support.h"

namespace svctest {
namespace {

using qvtest::TestPhoneProcess;
using namespace std::chrono_literals;

std::string RegisterAccount(const std::string& phone, const std::string& password) {
  return Get(kApi, Target("/reg", {{"phone", phone}, {"pwd", Scramble(password)}, {"agent_id", ""},
                                   {"sign", Sign(phone)}, {"pv", "pc"}, {"v", "1.2"}}))
      .body;
}

TEST(Stack, ServiceAccountsRegisterAndCallByBareNumber) {
  ResetService();
  const std::string a = "15700000101", b = "15700000102";
  ASSERT_EQ(Field(RegisterAccount(a, "alpha-123"), "result"), "0");
  ASSERT_EQ(Field(RegisterAccount(b, "bravo-456"), "result"), "0");

  TestPhoneProcess wrong(b, "bravo-000");
  TestPhoneProcess phoneA(a, "alpha-123");
  TestPhoneProcess phoneB(b, "bravo-456");
  ASSERT_FALSE(phoneA.WaitFor("registered", 30s).empty()) << phoneA.Transcript();
  ASSERT_FALSE(phoneB.WaitFor("registered", 30s).empty()) << phoneB.Transcript();
  EXPECT_FALSE(wrong.WaitFor("registration failed", 30s).empty()) << wrong.Transcript();

  phoneA.Send("call " + b);
  EXPECT_FALSE(phoneB.WaitFor("state IncomingReceived", 30s).empty()) << phoneB.Transcript();
  phoneB.Send("answer");
  EXPECT_FALSE(phoneA.WaitFor("state StreamsRunning", 30s).empty()) << phoneA.Transcript();
  phoneA.Send("hangup");
  EXPECT_FALSE(phoneB.WaitFor("state End", 30s).empty()) << phoneB.Transcript();

  // A change of password is the SIP password at once.
  std::string reply = Get(kApi, Target("/change_pwd", {{"phone", b}, {"old_pwd", Scramble("bravo-456")},
                                                       {"new_pwd", Scramble("bravo-789")}, {"sign", Sign(b)}}))
                          .body;
  ASSERT_EQ(Field(reply, "result"), "0");
  TestPhoneProcess oldPassword(b, "bravo-456");
  EXPECT_FALSE(oldPassword.WaitFor("registration failed", 30s).empty()) << oldPassword.Transcript();
  TestPhoneProcess newPassword(b, "bravo-789");
  EXPECT_FALSE(newPassword.WaitFor("registered", 30s).empty()) << newPassword.Transcript();
}

TEST(Stack, CallbackRequestRingsTheTrialSubscriber) {
  ResetService();
  // The demo trial subscriber, logged in with a SIP phone.
  TestPhoneProcess trial("13900000002", "123456");
  ASSERT_FALSE(trial.WaitFor("registered", 30s).empty()) << trial.Transcript();
  std::string reply = Get(kApi, Target("/call", {{"uid", "10002"}, {"pwd", Scramble("123456")},
                                                 {"called", "13912345678"}, {"pv", "pc"}, {"v", "1.2"},
                                                 {"sign", Sign("10002")}}))
                          .body;
  ASSERT_EQ(Field(reply, "result"), "0");
  std::string incoming = trial.WaitFor("state IncomingReceived", 30s);
  ASSERT_FALSE(incoming.empty()) << trial.Transcript();
  EXPECT_NE(incoming.find("600600"), std::string::npos) << incoming;
  trial.Send("decline");
  EXPECT_FALSE(trial.WaitFor("state End", 30s).empty()) << trial.Transcript();
}

}  // namespace
}  // namespace svctest

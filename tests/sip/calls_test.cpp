// Calls through the real SIP server with test phones as far ends: what the
// line slots read at each step.
#include "sip_engine_fixture.h"

#include <chrono>

namespace {

using namespace std::chrono_literals;
using qvtest::WaitUntil;

using CallTest = SipEngineTest;

TEST_F(CallTest, OutgoingCallGoesThroughEverySlotText) {
  RegisterMe();
  auto far = Phone();
  ASSERT_TRUE(qv::InviteOnLine(2, qv::Widen(NumberOf(far.get()))));
  EXPECT_TRUE(qv::LineHasCall(2));
  // The first state is reported inside the invite itself.
  EXPECT_EQ(Status(2), "Call progress");
  EXPECT_NE(far->WaitFor("state IncomingReceived"), "");
  EXPECT_TRUE(WaitStatus(2, qv::kRemoteRinging)) << Status(2);
  far->Send("answer");
  EXPECT_TRUE(WaitStatus(2, qv::kCallAnswered)) << Status(2);
  EXPECT_NE(far->WaitFor("state StreamsRunning"), "");
  // Sound flows both ways without a sound card (files mode).
  EXPECT_TRUE(WaitUntil([&] {
    far->Send("stats");
    std::string line = far->WaitFor("stats", 2s);
    return line.find("recv 0 ") == std::string::npos && line.find("stats recv") != std::string::npos;
  }));
  far->Send("hangup");
  EXPECT_TRUE(WaitStatus(2, qv::kCallEnded)) << Status(2);
  EXPECT_FALSE(qv::LineHasCall(2));
  // Other lines saw nothing.
  for (int line : {0, 1, 3, 4, 5, 6}) EXPECT_EQ(Status(line), "") << line;
}

struct RefusalCase {
  const char* name;
  const char* reason;
};

class CallRefusedTest : public SipEngineTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(CallRefusedTest, FarEndRefusalIsCallFailed) {
  RegisterMe();
  auto far = Phone({"--auto-decline", GetParam().reason});
  ASSERT_TRUE(qv::InviteOnLine(0, qv::Widen(NumberOf(far.get()))));
  EXPECT_TRUE(WaitStatus(0, qv::kCallFailed)) << Status(0);
  EXPECT_FALSE(qv::LineHasCall(0));
}

INSTANTIATE_TEST_SUITE_P(Reasons, CallRefusedTest,
                         ::testing::Values(RefusalCase{"busy", "busy"}, RefusalCase{"declined", "declined"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CallTest, FarEndRegisteredOverTcpIsReached) {
  RegisterMe();
  auto far = Phone({"--transport", "tcp", "--auto-answer", "0"});
  ASSERT_TRUE(qv::InviteOnLine(5, qv::Widen(NumberOf(far.get()))));
  EXPECT_TRUE(WaitStatus(5, qv::kCallAnswered)) << Status(5);
  far->Send("hangup");
  EXPECT_TRUE(WaitStatus(5, qv::kCallEnded)) << Status(5);
}

TEST_F(CallTest, UnknownNumberIsCallFailed) {
  RegisterMe();
  ASSERT_TRUE(qv::InviteOnLine(1, u"13999999999"));
  EXPECT_TRUE(WaitStatus(1, qv::kCallFailed)) << Status(1);
}

TEST_F(CallTest, IncomingCallShowsFullAddressAndIsAnswered) {
  RegisterMe();
  auto caller = Phone({"--display", "Zhang San"});
  caller->Send("call " + me_);
  ASSERT_TRUE(WaitUntil([&] { return qv::LineHasCall(qv::kIncomingLine); }));
  std::string expected = "Incoming call \"Zhang San\" <sip:" + NumberOf(caller.get()) + "@127.0.0.1";
  EXPECT_TRUE(WaitUntil([&] { return Status(6).rfind(expected, 0) == 0; })) << Status(6);
  EXPECT_NE(caller->WaitFor("state OutgoingRinging"), "");
  qv::ClearLineStatus(6);  // the poll announces the call and empties the slot
  qv::AcceptIncomingCall();
  EXPECT_EQ(Status(6), "Call answered");  // reported inside the accept
  EXPECT_NE(caller->WaitFor("state StreamsRunning"), "");
  caller->Send("hangup");
  EXPECT_TRUE(WaitStatus(6, qv::kCallEnded)) << Status(6);
  EXPECT_FALSE(qv::LineHasCall(6));
}

TEST_F(CallTest, UnansweredIncomingCallIsMissed) {
  RegisterMe();
  auto caller = Phone();
  caller->Send("call " + me_);
  ASSERT_TRUE(WaitUntil([&] { return qv::LineHasCall(qv::kIncomingLine); }));
  EXPECT_NE(caller->WaitFor("state OutgoingRinging"), "");
  caller->Send("hangup");  // the caller gives up while it rings
  EXPECT_TRUE(WaitStatus(6, qv::kCallMissed)) << Status(6);
  EXPECT_FALSE(qv::LineHasCall(6));
}

TEST_F(CallTest, SecondIncomingCallWhileLineSixIsTakenIsRefused) {
  RegisterMe();
  auto first = Phone();
  auto second = Phone();
  first->Send("call " + me_);
  ASSERT_TRUE(WaitUntil([&] { return qv::LineHasCall(qv::kIncomingLine); }));
  std::string firstText = Status(6);
  EXPECT_NE(firstText.find(NumberOf(first.get())), std::string::npos);
  second->Send("call " + me_);
  std::string end = second->WaitFor("state Error");
  EXPECT_NE(end.find("reason busy"), std::string::npos) << second->Transcript();
  // Line 6 still belongs to the first call, which can be answered.
  EXPECT_EQ(Status(6), firstText);
  qv::AcceptIncomingCall();
  EXPECT_NE(first->WaitFor("state StreamsRunning"), "") << first->Transcript();
  EXPECT_EQ(Status(6), "Call answered");
  first->Send("hangup");
  EXPECT_TRUE(WaitStatus(6, qv::kCallEnded));
}

TEST_F(CallTest, NewIncomingCallWaitsUntilTheLastEndWasSeen) {
  RegisterMe();
  auto first = Phone();
  auto second = Phone();
  first->Send("call " + me_);
  ASSERT_TRUE(WaitUntil([&] { return qv::LineHasCall(qv::kIncomingLine); }));
  qv::ClearLineStatus(6);
  qv::AcceptIncomingCall();
  first->Send("hangup");
  ASSERT_TRUE(WaitStatus(6, qv::kCallEnded));
  // The poll has not seen "Call ended" yet: a new call must not overwrite it.
  second->Send("call " + me_);
  EXPECT_NE(second->WaitFor("reason busy"), "") << second->Transcript();
  EXPECT_EQ(Status(6), "Call ended");
  // Once the poll has acted on it, the line takes calls again.
  EXPECT_TRUE(qv::ClearLineStatusIf(6, qv::kCallEnded));
  second->Send("call " + me_);
  EXPECT_TRUE(WaitUntil([&] { return Status(6).find(NumberOf(second.get())) != std::string::npos; })) << Status(6);
}

TEST_F(CallTest, HangingUpAnOutgoingLineWaitsThreeSeconds) {
  RegisterMe();
  auto far = Phone({"--auto-answer", "0"});
  ASSERT_TRUE(qv::InviteOnLine(3, qv::Widen(NumberOf(far.get()))));
  ASSERT_TRUE(WaitStatus(3, qv::kCallAnswered)) << Status(3);
  auto start = std::chrono::steady_clock::now();
  qv::TerminateLine(3);
  auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, 3000ms);
  EXPECT_FALSE(qv::LineHasCall(3));
  EXPECT_EQ(Status(3), "Call ended");  // reported inside the terminate
  EXPECT_NE(far->WaitFor("state End"), "");
}

TEST_F(CallTest, HangingUpTheIncomingLineDoesNotWait) {
  RegisterMe();
  auto caller = Phone();
  caller->Send("call " + me_);
  ASSERT_TRUE(WaitUntil([&] { return qv::LineHasCall(qv::kIncomingLine); }));
  qv::AcceptIncomingCall();
  EXPECT_NE(caller->WaitFor("state StreamsRunning"), "");
  auto start = std::chrono::steady_clock::now();
  qv::TerminateLine(6);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2500ms);
  EXPECT_FALSE(qv::LineHasCall(6));
  EXPECT_NE(caller->WaitFor("state End"), "");
}

TEST_F(CallTest, TerminateWithoutACallDoesNothingAtOnce) {
  RegisterMe();
  auto start = std::chrono::steady_clock::now();
  qv::TerminateLine(4);
  qv::TerminateLine(6);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1000ms);
}

TEST_F(CallTest, InviteOnABusyOrBadLineSendsNothing) {
  RegisterMe();
  auto far = Phone();
  ASSERT_TRUE(qv::InviteOnLine(0, qv::Widen(NumberOf(far.get()))));
  EXPECT_NE(far->WaitFor("state IncomingReceived"), "");
  EXPECT_FALSE(qv::InviteOnLine(0, qv::Widen(NumberOf(far.get()))));
  EXPECT_FALSE(qv::InviteOnLine(6, qv::Widen(NumberOf(far.get()))));
  EXPECT_EQ(Status(6), "");
  far->Send("decline busy");
  EXPECT_TRUE(WaitStatus(0, qv::kCallFailed));
}

}  // namespace

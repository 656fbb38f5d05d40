// Several calls at once: the engine keeps one call with the sound; the line
// that is resumed gets it back; a refused invite says so at once.
#include "sip_engine_fixture.h"

namespace {

using qvtest::WaitUntil;

using SeveralCallsTest = SipEngineTest;

TEST_F(SeveralCallsTest, ResumingALineHoldsTheOther) {
  RegisterMe();
  auto a = Phone({"--auto-answer", "0"});
  auto b = Phone({"--auto-answer", "0"});
  ASSERT_TRUE(qv::InviteOnLine(0, qv::Widen(NumberOf(a.get()))));
  ASSERT_TRUE(WaitStatus(0, qv::kCallAnswered));
  ASSERT_NE(a->WaitFor("state StreamsRunning"), "");

  // Calling B puts A on hold.
  ASSERT_TRUE(qv::InviteOnLine(1, qv::Widen(NumberOf(b.get()))));
  EXPECT_NE(a->WaitFor("state PausedByRemote"), "") << a->Transcript();
  ASSERT_TRUE(WaitStatus(1, qv::kCallAnswered));
  ASSERT_NE(b->WaitFor("state StreamsRunning"), "");
  EXPECT_FALSE(qv::ResumeLine(1));  // B has the sound already

  // Selecting A's line resumes A and holds B.
  EXPECT_TRUE(WaitUntil([] { return qv::ResumeLine(0); }));
  EXPECT_NE(b->WaitFor("state PausedByRemote"), "") << b->Transcript();
  EXPECT_NE(a->WaitFor("state StreamsRunning"), "") << a->Transcript();

  // B hangs up: A keeps the sound.
  b->Send("hangup");
  EXPECT_TRUE(WaitStatus(1, qv::kCallEnded));
  EXPECT_EQ(Status(0), "Call answered");
  EXPECT_FALSE(qv::ResumeLine(0));
  a->Send("calls");
  EXPECT_NE(a->WaitFor("calls 1"), "");
  std::string transcript = a->Transcript();
  EXPECT_GT(transcript.rfind("state StreamsRunning"), transcript.rfind("state PausedByRemote")) << transcript;
}

TEST_F(SeveralCallsTest, AnsweringTheIncomingCallHoldsTheCurrentOne) {
  RegisterMe();
  auto a = Phone({"--auto-answer", "0"});
  auto caller = Phone();
  ASSERT_TRUE(qv::InviteOnLine(0, qv::Widen(NumberOf(a.get()))));
  ASSERT_TRUE(WaitStatus(0, qv::kCallAnswered));
  ASSERT_NE(a->WaitFor("state StreamsRunning"), "");
  caller->Send("call " + me_);
  ASSERT_TRUE(WaitUntil([] { return qv::LineHasCall(qv::kIncomingLine); }));
  qv::AcceptIncomingCall();
  EXPECT_NE(a->WaitFor("state PausedByRemote"), "") << a->Transcript();
  EXPECT_NE(caller->WaitFor("state StreamsRunning"), "");
  EXPECT_EQ(Status(6), "Call answered");
  // And back to A.
  EXPECT_TRUE(WaitUntil([] { return qv::ResumeLine(0); }));
  EXPECT_NE(caller->WaitFor("state PausedByRemote"), "");
}

TEST_F(SeveralCallsTest, InviteWhileAnotherStillRingsFailsAtOnce) {
  RegisterMe();
  auto a = Phone();  // rings without answering
  auto b = Phone();
  ASSERT_TRUE(qv::InviteOnLine(0, qv::Widen(NumberOf(a.get()))));
  ASSERT_NE(a->WaitFor("state IncomingReceived"), "");
  EXPECT_FALSE(qv::InviteOnLine(1, qv::Widen(NumberOf(b.get()))));
  EXPECT_EQ(Status(1), "Call failed");
  EXPECT_FALSE(qv::LineHasCall(1));
  EXPECT_FALSE(b->Seen("state IncomingReceived"));
  // The ringing call goes on.
  a->Send("answer");
  EXPECT_TRUE(WaitStatus(0, qv::kCallAnswered));
}

}  // namespace

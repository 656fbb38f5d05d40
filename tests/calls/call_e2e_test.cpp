// Calls end to end: the main window places, answers and ends real SIP
// calls through kamailio; test phones are the far ends; the records land
// in the subscriber's call log file. Needs the test stack.
#include "call_e2e_env.h"
#include "ui/main/call_lines.h"

#include <cstdio>

namespace {

using calltest::CallE2ETest;
using calltest::Driver;
using calltest::kRegular;
using calltest::kTrial;
using qvtest::TestPhoneProcess;
using qvtest::WaitUntil;
using namespace std::chrono_literals;

// The line whose state the test phone reported last.
std::string LastState(TestPhoneProcess* phone, std::initializer_list<const char*> states) {
  const std::string t = phone->Transcript();
  size_t best = std::string::npos;
  std::string found;
  for (const char* s : states) {
    size_t at = t.rfind(std::string("state ") + s);
    if (at != std::string::npos && (best == std::string::npos || at > best)) {
      best = at;
      found = s;
    }
  }
  return found;
}

// True once the phone has received sound on its current call.
bool HearsSound(TestPhoneProcess* phone) {
  return WaitUntil([&] {
    phone->Send("stats");
    const std::string line = phone->WaitFor("stats");
    unsigned long received = 0;
    return std::sscanf(line.c_str(), "stats recv %lu", &received) == 1 && received > 0;
  });
}

bool Talking(TestPhoneProcess* phone) {
  return LastState(phone, {"StreamsRunning", "PausedByRemote"}) == "StreamsRunning";
}

TEST_F(CallE2ETest, OutgoingCallRingsIsAnsweredTalksAndIsHungUpBySubscriber) {
  QVUI* w = LogIn();
  EXPECT_EQ(w->userType, u"1");
  auto* far = Phone();
  ASSERT_TRUE(window_.Dial(NumberOf(far)));
  EXPECT_EQ(window_.Text(u"callstatus"), u"正在呼叫...");
  ASSERT_NE(far->WaitFor("state IncomingReceived"), "") << far->Transcript();
  ASSERT_TRUE(WaitStatus(0, qv::kRemoteRinging));
  window_.Tick();
  EXPECT_EQ(window_.Text(u"callstatus"), u"响铃");
  // The number's place, from the lookup service, for the line shown.
  ASSERT_TRUE(window_.driver().PumpUntil([&] { return !w->lineInfo[0][kLineLocation].empty(); }));
  window_.Tick();
  EXPECT_EQ(window_.Text(u"show_address"), w->lineInfo[0][kLineLocation]);

  far->Send("answer");
  ASSERT_TRUE(WaitStatus(0, qv::kCallAnswered));
  ASSERT_NE(far->WaitFor("state StreamsRunning"), "");
  window_.Tick(4);
  EXPECT_EQ(window_.Text(u"callstatus"), u"通话中");
  EXPECT_EQ(window_.Text(u"calledTimer_s"), u"04");
  // Sound flows both ways (the engine sends its WAV file).
  EXPECT_TRUE(HearsSound(far)) << far->Transcript();

  ASSERT_TRUE(window_.driver().Click(w, u"hangupBtn"));  // waits 3 s, then ends the call
  EXPECT_NE(far->WaitFor("state End"), "") << far->Transcript();
  EXPECT_FALSE(qv::LineHasCall(0));
  auto records = window_.Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].phone, NumberOf(far));
  EXPECT_EQ(records[0].timeLen, u"4秒");
  EXPECT_EQ(records[0].calledType, u"callOut");
  EXPECT_EQ(records[0].state, u"");
  EXPECT_TRUE(window_.Options().empty());
  // The engine's own end of the call writes no second record.
  window_.Tick(2);
  EXPECT_EQ(window_.Records().size(), 1u);
  // The service heard the number's lookup.
  EXPECT_NE(svctest::Control("requests", {{"path", "/smartresult-xml/search.s"}}).find(qv::ToUtf8(NumberOf(far))),
            std::string::npos);
}

TEST_F(CallE2ETest, FarEndHangsUp) {
  QVUI* w = LogIn();
  auto* far = Phone({"--auto-answer", "0"});
  ASSERT_TRUE(window_.Dial(NumberOf(far)));
  ASSERT_TRUE(WaitStatus(0, qv::kCallAnswered));
  window_.Tick(2);
  far->Send("hangup");
  ASSERT_TRUE(WaitStatus(0, qv::kCallEnded));
  EXPECT_FALSE(qv::LineHasCall(0));
  window_.Tick();
  auto records = window_.Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].state, u"Call terminated");
  EXPECT_EQ(records[0].timeLen, u"2秒");
  EXPECT_EQ(w->currentLine, -1);
  EXPECT_FALSE(w->hangupButton->IsEnabled());
}

TEST_F(CallE2ETest, DeclinedOrUnreachableCallsFail) {
  LogIn();
  auto* busy = Phone({"--auto-decline", "busy"});
  auto* declining = Phone({"--auto-decline", "declined"});
  const std::u16string nobody = qv::Widen(qvtest::UniqueNumber());  // not registered: 404
  const std::u16string numbers[] = {NumberOf(busy), NumberOf(declining), nobody};
  for (const auto& number : numbers) {
    SCOPED_TRACE(qv::ToUtf8(number));
    const size_t before = window_.Records().size();
    ASSERT_TRUE(window_.Dial(number));
    ASSERT_TRUE(WaitStatus(0, qv::kCallFailed)) << qv::ToUtf8(qv::LineStatus(0));
    window_.Tick();
    auto records = window_.Records();
    ASSERT_EQ(records.size(), before + 1);
    EXPECT_EQ(records.back().phone, number);
    EXPECT_EQ(records.back().state, u"Call failed");
    EXPECT_EQ(records.back().timeLen, u"");
    EXPECT_TRUE(window_.Options().empty());
    // The engine lets go of the call before the next one.
    ASSERT_TRUE(WaitUntil([] { return qv::LineStatus(0).empty() && !qv::LineHasCall(0); }));
  }
}

TEST_F(CallE2ETest, IncomingCallIsAnnouncedAnsweredAndEnded) {
  QVUI* w = LogIn();
  auto* caller = Phone();
  ASSERT_TRUE(window_.driver().Click(w, u"closebtn"));  // in the tray
  caller->Send("call " + qv::ToUtf8(kRegular.phone));
  ASSERT_TRUE(WaitIncoming());
  window_.Tick();
  EXPECT_TRUE(Driver::IsVisible(w));
  EXPECT_EQ(window_.platform().Foreground(), w->mainHwnd);
  EXPECT_TRUE(w->answerButton->IsVisible());
  EXPECT_EQ(w->peerNumber, NumberOf(caller));
  EXPECT_EQ(window_.Text(u"callstatus"), u"来电..");
  EXPECT_EQ(window_.Text(u"calledUserName"), NumberOf(caller));

  ASSERT_TRUE(window_.driver().Click(w, u"answer_btn"));
  EXPECT_FALSE(w->answerButton->IsVisible());
  ASSERT_NE(caller->WaitFor("state StreamsRunning"), "") << caller->Transcript();
  ASSERT_TRUE(WaitStatus(6, qv::kCallAnswered));
  window_.Tick(2);
  EXPECT_EQ(window_.Text(u"callstatus"), u"通话中");
  caller->Send("hangup");
  ASSERT_TRUE(WaitStatus(6, qv::kCallEnded));
  window_.Tick();
  auto records = window_.Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].phone, NumberOf(caller));
  EXPECT_EQ(records[0].calledType, u"callIn");
  EXPECT_EQ(records[0].state, u"answered");
  EXPECT_EQ(records[0].timeLen, u"2秒");
  EXPECT_TRUE(window_.Options().empty());
}

TEST_F(CallE2ETest, IncomingCallAnsweredThenHungUpBySubscriber) {
  QVUI* w = LogIn();
  auto* caller = Phone();
  caller->Send("call " + qv::ToUtf8(kRegular.phone));
  ASSERT_TRUE(WaitIncoming());
  window_.Tick();
  ASSERT_TRUE(window_.driver().Click(w, u"answer_btn"));
  ASSERT_NE(caller->WaitFor("state StreamsRunning"), "");
  ASSERT_TRUE(window_.driver().Click(w, u"hangupBtn"));  // line 6: no wait
  EXPECT_NE(caller->WaitFor("state End"), "");
  auto records = window_.Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].state, u"answered");
}

TEST_F(CallE2ETest, IncomingCallMissed) {
  QVUI* w = LogIn();
  auto* caller = Phone();
  caller->Send("call " + qv::ToUtf8(kRegular.phone));
  ASSERT_TRUE(WaitIncoming());
  window_.Tick();
  ASSERT_TRUE(w->answerButton->IsVisible());
  caller->Send("hangup");  // gives up while it rings
  ASSERT_TRUE(WaitStatus(6, qv::kCallMissed)) << qv::ToUtf8(qv::LineStatus(6));
  window_.Tick();
  EXPECT_FALSE(w->answerButton->IsVisible());
  auto records = window_.Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].phone, NumberOf(caller));
  EXPECT_EQ(records[0].state, u"missed");
  EXPECT_EQ(records[0].timeLen, u"");
  EXPECT_EQ(records[0].calledType, u"callIn");
  EXPECT_TRUE(window_.Options().empty());
}

TEST_F(CallE2ETest, TwoThenSevenLines) {
  QVUI* w = LogIn();
  std::vector<TestPhoneProcess*> far;
  for (int i = 0; i < 6; ++i) far.push_back(Phone({"--auto-answer", "0"}));
  auto* seventh = Phone();
  // One call at a time: the engine takes no new call while another rings.
  auto call = [&](int line, const std::function<void()>& place) {
    place();
    EXPECT_EQ(w->currentLine, line);
    EXPECT_TRUE(WaitStatus(line, qv::kCallAnswered)) << line << ": " << qv::ToUtf8(qv::LineStatus(line));
    EXPECT_NE(far[line]->WaitFor("state StreamsRunning"), "");
  };
  for (int line = 0; line < 2; ++line) call(line, [&] { window_.Dial(NumberOf(far[line])); });
  window_.Tick();
  EXPECT_EQ(window_.Options().size(), 2u);
  EXPECT_TRUE(w->callButton->IsEnabled());
  for (int line = 2; line < 5; ++line) call(line, [&] { window_.Dial(NumberOf(far[line])); });
  EXPECT_EQ(window_.Options().size(), 5u);
  EXPECT_FALSE(w->callButton->IsEnabled());
  // The sixth from a contact's call button: line 5.
  call(5, [&] {
    w->selectedContactPhone = NumberOf(far[5]);
    w->selectedContactName = u"赵六";
    w->RequestCall(u"2");
  });
  // The seventh, from a record, with lines 0-5 busy: line 6, no SIP call.
  w->selectedRecordPhone = NumberOf(seventh);
  w->selectedRecordName = u"";
  w->RequestCall(u"3");
  EXPECT_EQ(w->currentLine, 6);
  EXPECT_EQ(w->lineInfo[6][kLineStatus], u"正在呼叫...");
  EXPECT_FALSE(qv::LineHasCall(6));
  window_.Tick();
  EXPECT_EQ(window_.Options().size(), 7u);
  for (int line = 0; line < 6; ++line) EXPECT_EQ(w->lineInfo[line][kLineStatus], u"通话中") << line;

  // The far ends hang up; one poll ends all six lines.
  for (auto* phone : far) phone->Send("hangup");
  for (int line = 0; line < 6; ++line) EXPECT_TRUE(WaitStatus(line, qv::kCallEnded)) << line;
  window_.Tick();
  EXPECT_EQ(window_.Options().size(), 1u);
  EXPECT_TRUE(w->callButton->IsEnabled());
  EXPECT_EQ(w->currentLine, 6);
  ASSERT_TRUE(window_.driver().Click(w, u"hangupBtn"));
  auto records = window_.Records();
  ASSERT_EQ(records.size(), 7u);
  for (int line = 0; line < 6; ++line) {
    EXPECT_EQ(records[line].phone, NumberOf(far[line]));
    EXPECT_EQ(records[line].state, u"Call terminated");
  }
  EXPECT_EQ(records[5].calledUser, u"赵六");
  EXPECT_EQ(records[6].phone, NumberOf(seventh));
  // Line 6 never sent anything: the seventh phone never rang.
  EXPECT_FALSE(seventh->Seen("state IncomingReceived"));
}

TEST_F(CallE2ETest, ShowNumberPrefixReachesTheServerOnly) {
  QVUI* w = LogIn();
  const std::string number = qvtest::UniqueNumber();
  auto* far = Phone({"--auto-answer", "0"}, "512" + number);  // what the server routes to
  ASSERT_TRUE(window_.driver().Click(w, u"whetherShowPhoen"));
  ASSERT_TRUE(window_.Dial(qv::Widen(number)));
  EXPECT_NE(far->WaitFor("state StreamsRunning"), "") << far->Transcript();
  ASSERT_TRUE(WaitStatus(0, qv::kCallAnswered));
  EXPECT_EQ(w->lineInfo[0][kLineNumber], qv::Widen(number));
  window_.Tick();
  EXPECT_EQ(window_.Text(u"calledUserName"), qv::Widen(number));
  far->Send("hangup");
  ASSERT_TRUE(WaitStatus(0, qv::kCallEnded));
  window_.Tick();
  auto records = window_.Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].phone, qv::Widen(number));
  // The lookup asked for the number as dialled.
  const std::string lookups = svctest::Control("requests", {{"path", "/smartresult-xml/search.s"}});
  EXPECT_NE(lookups.find("\"q\":\"" + number + "\""), std::string::npos) << lookups;
}

TEST_F(CallE2ETest, TrialSubscriberGetsACallbackRequestForEachResult) {
  QVUI* w = LogIn(kTrial);
  ASSERT_EQ(w->userType, u"0");
  EXPECT_EQ(w->userNameLabel->GetText(), u"13900000002体验用户");
  struct Case {
    const char* script;  // scripted result; null for the service's own answer
    std::u16string_view message;
    std::u16string_view number = u"02*12345678";  // not checked for a callback
  };
  const Case cases[] = {
      {nullptr, u"提交成功！", u"13800000009"},
      {nullptr, u"号码错误，请注意本地外地固定电话号码须加区号！"},
      {"-2", u"密码错误"},
      {"-3", u"号码错误，请注意本地外地固定电话号码须加区号！"},
      {"-4", u"账户不存在"},
      {"-7", u"账户不存在"},
      {"-8", u"号码已过期"},
      {"-9", u"您的余额不足，请充值！"},
      {"-10", u"帐户已被冻结，请联系客服人员!"},
      {"-1", u""},
      {"", u""},  // a reply without a result
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script ? c.script : "service");
    svctest::Control("requests/clear");
    if (c.script != nullptr) {
      if (*c.script) svctest::Control("script", {{"path", "/call"}, {"result", c.script}});
      else svctest::Control("script", {{"path", "/call"}, {"body", "{}"}});
    }
    window_.platform().ClearRecords();
    ASSERT_TRUE(window_.Dial(c.number));
    auto boxes = window_.Boxes();
    ASSERT_GE(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, u"您当前是体验用户，只能使用回拨功能！");
    EXPECT_EQ(boxes[0].owner, w->mainHwnd);
    if (c.message.empty()) {
      EXPECT_EQ(boxes.size(), 1u);
    } else {
      ASSERT_EQ(boxes.size(), 2u);
      EXPECT_EQ(boxes[1].text, c.message);
      EXPECT_EQ(boxes[1].caption, u"提示");
      EXPECT_EQ(boxes[1].owner, nullptr);
    }
    const std::string requests = svctest::Control("requests", {{"path", "/call"}});
    EXPECT_NE(requests.find("\"called\":\"" + qv::ToUtf8(c.number) + "\""), std::string::npos) << requests;
    EXPECT_NE(requests.find("\"uid\":\"10002\""), std::string::npos) << requests;
    EXPECT_NE(requests.find("\"pv\":\"pc\""), std::string::npos) << requests;
    EXPECT_NE(requests.find("\"v\":\"1.2\""), std::string::npos) << requests;
    // No line, no option, the box keeps the number, no record.
    EXPECT_TRUE(window_.Options().empty());
    EXPECT_EQ(window_.Text(u"input_phoneText"), c.number);
  }
  EXPECT_TRUE(window_.Records().empty());
  EXPECT_FALSE(qv::LineHasCall(0));
}

TEST_F(CallE2ETest, TrialSubscribersIncomingCallBecomesACallbackRequest) {
  QVUI* w = LogIn(kTrial);
  auto* caller = Phone();
  caller->Send("call " + qv::ToUtf8(kTrial.phone));
  ASSERT_TRUE(WaitIncoming());
  window_.Tick();
  EXPECT_TRUE(w->answerButton->IsVisible());
  auto boxes = window_.Boxes();
  ASSERT_GE(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, u"您当前是体验用户，只能使用回拨功能！");
  const std::string requests = svctest::Control("requests", {{"path", "/call"}});
  EXPECT_NE(requests.find("\"called\":\"" + qv::ToUtf8(NumberOf(caller)) + "\""), std::string::npos) << requests;
  EXPECT_TRUE(window_.Options().empty());
}

// ---- Several calls: the selected line is the line talked on ----

TEST_F(CallE2ETest, SelectingALineResumesItAndHoldsTheOther) {
  QVUI* w = LogIn();
  auto* a = Phone({"--auto-answer", "0"});
  auto* b = Phone({"--auto-answer", "0"});
  ASSERT_TRUE(window_.Dial(NumberOf(a)));
  ASSERT_TRUE(WaitStatus(0, qv::kCallAnswered));
  ASSERT_NE(a->WaitFor("state StreamsRunning"), "");

  // Calling B holds A.
  ASSERT_TRUE(window_.Dial(NumberOf(b)));
  EXPECT_NE(a->WaitFor("state PausedByRemote"), "") << a->Transcript();
  ASSERT_TRUE(WaitStatus(1, qv::kCallAnswered));
  ASSERT_NE(b->WaitFor("state StreamsRunning"), "");
  window_.Tick();
  EXPECT_EQ(w->currentLine, 1);
  // A still counts as talking: the status and talk time go on.
  EXPECT_EQ(w->lineInfo[0][kLineStatus], u"通话中");

  // Selecting A's option: A is resumed, B held.
  // (While the engine is still busy with the last change, the poll makes
  // the selection good as soon as it can.)
  ASSERT_TRUE(window_.driver().Click(w, window_.Options()[0]));
  EXPECT_EQ(w->currentLine, 0);
  EXPECT_TRUE(TickUntil([&] { return Talking(a); })) << a->Transcript();
  EXPECT_NE(b->WaitFor("state PausedByRemote"), "") << b->Transcript();

  // B hangs up: A keeps the sound.
  b->Send("hangup");
  ASSERT_TRUE(WaitStatus(1, qv::kCallEnded));
  window_.Tick(3);
  ASSERT_EQ(window_.Options().size(), 1u);
  EXPECT_TRUE(window_.Options()[0]->IsSelected());
  EXPECT_TRUE(Talking(a)) << a->Transcript();
  EXPECT_EQ(window_.Records().size(), 1u);
  EXPECT_EQ(window_.Records()[0].state, u"Call terminated");
}

TEST_F(CallE2ETest, EndingTheTalkingLineResumesTheFirstRemaining) {
  QVUI* w = LogIn();
  auto* a = Phone({"--auto-answer", "0"});
  auto* b = Phone({"--auto-answer", "0"});
  ASSERT_TRUE(window_.Dial(NumberOf(a)));
  ASSERT_TRUE(WaitStatus(0, qv::kCallAnswered));
  ASSERT_TRUE(window_.Dial(NumberOf(b)));
  ASSERT_NE(a->WaitFor("state PausedByRemote"), "");
  ASSERT_TRUE(WaitStatus(1, qv::kCallAnswered));
  ASSERT_NE(b->WaitFor("state StreamsRunning"), "");
  b->Send("hangup");
  ASSERT_TRUE(WaitStatus(1, qv::kCallEnded));
  window_.Tick();
  EXPECT_EQ(w->currentLine, 0);
  EXPECT_NE(a->WaitFor("state StreamsRunning"), "") << a->Transcript();
}

TEST_F(CallE2ETest, SelectionMadeWhileAnotherCallRingsTakesEffectWhenItCan) {
  QVUI* w = LogIn();
  auto* a = Phone({"--auto-answer", "0"});
  auto* b = Phone();  // rings until told
  ASSERT_TRUE(window_.Dial(NumberOf(a)));
  ASSERT_TRUE(WaitStatus(0, qv::kCallAnswered));
  ASSERT_NE(a->WaitFor("state StreamsRunning"), "");
  ASSERT_TRUE(window_.Dial(NumberOf(b)));
  ASSERT_NE(b->WaitFor("state IncomingReceived"), "");
  ASSERT_NE(a->WaitFor("state PausedByRemote"), "");
  ASSERT_TRUE(window_.driver().Click(w, window_.Options()[0]));  // A, while B rings
  b->Send("answer");
  ASSERT_TRUE(WaitStatus(1, qv::kCallAnswered));
  ASSERT_TRUE(TickUntil([&] { return Talking(a); })) << a->Transcript();
  EXPECT_NE(b->WaitFor("state PausedByRemote"), "") << b->Transcript();
  EXPECT_EQ(w->currentLine, 0);
}

TEST_F(CallE2ETest, AnsweringHoldsTheCurrentCall) {
  QVUI* w = LogIn();
  auto* a = Phone({"--auto-answer", "0"});
  auto* caller = Phone();
  ASSERT_TRUE(window_.Dial(NumberOf(a)));
  ASSERT_TRUE(WaitStatus(0, qv::kCallAnswered));
  ASSERT_NE(a->WaitFor("state StreamsRunning"), "");
  caller->Send("call " + qv::ToUtf8(kRegular.phone));
  ASSERT_TRUE(WaitIncoming());
  window_.Tick();
  ASSERT_TRUE(window_.driver().Click(w, window_.Options()[0]));  // looks at A again before answering
  ASSERT_TRUE(window_.driver().Click(w, u"answer_btn"));
  EXPECT_NE(a->WaitFor("state PausedByRemote"), "") << a->Transcript();
  EXPECT_NE(caller->WaitFor("state StreamsRunning"), "") << caller->Transcript();
  EXPECT_EQ(w->currentLine, 6);
  window_.Tick(2);
  EXPECT_TRUE(Talking(caller)) << caller->Transcript();  // the answered call keeps the sound

  // Back to A.
  ASSERT_TRUE(window_.driver().Click(w, window_.Options()[0]));
  EXPECT_TRUE(TickUntil([&] { return Talking(a); })) << a->Transcript();
  EXPECT_NE(caller->WaitFor("state PausedByRemote"), "") << caller->Transcript();
}

TEST_F(CallE2ETest, InviteRefusedWhileAnotherRingsFailsAndIsRecorded) {
  QVUI* w = LogIn();
  auto* a = Phone();  // rings without answering
  auto* b = Phone({"--auto-answer", "0"});
  ASSERT_TRUE(window_.Dial(NumberOf(a)));
  ASSERT_NE(a->WaitFor("state IncomingReceived"), "");
  ASSERT_TRUE(window_.Dial(NumberOf(b)));
  EXPECT_EQ(qv::LineStatus(1), qv::kCallFailed);  // at once
  window_.Tick();
  auto records = window_.Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].phone, NumberOf(b));
  EXPECT_EQ(records[0].state, u"Call failed");
  EXPECT_TRUE(w->lineInfo[1][kLineNumber].empty());
  EXPECT_EQ(window_.Options().size(), 1u);
  EXPECT_EQ(w->currentLine, 0);
  EXPECT_FALSE(b->Seen("state IncomingReceived"));
  // The ringing call goes on.
  a->Send("answer");
  EXPECT_TRUE(WaitStatus(0, qv::kCallAnswered));
}

}  // namespace

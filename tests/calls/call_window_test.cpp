// Call placement and call progress on the headless toolkit, with the SIP
// engine not running: the line texts the engine bridge would write are
// put into the line table directly, and the poll runs on the toolkit's
// virtual clock. What the engine does with calls is checked end to end
// in call_e2e_test.cpp.
#include "call_window_env.h"
#include "sip/line_table.h"
#include "ui/main/call_lines.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/list.h"

namespace {

using calltest::CallWindow;
using calltest::Driver;

constexpr std::u16string_view kTooShort = u"电话不能小于6位号码";
constexpr std::u16string_view kBadCharacters = u"拨打的电话号码有非法字符！请重新输入";
constexpr std::u16string_view kAlreadyOnLine = u"此号码已在通话中";

class CallWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Nothing listens there: the window's requests fail at once.
    for (const char* host : {"QV_HOST_API", "QV_HOST_LOOKUP", "QV_HOST_CONTACTS"}) setenv(host, "127.0.0.9", 1);
    qv::ResetLines();
    w_ = env_.Open(u"13800000001");
    ASSERT_TRUE(w_->GetSkinError().empty());
  }
  void TearDown() override {
    env_.Close();
    qv::ResetLines();
  }

  void Status(int line, std::u16string_view text) { qv::SetLineStatus(line, std::u16string(text)); }
  const std::u16string& LineText(int line, int field) { return w_->lineInfo[line][field]; }

  uitest::WorkFolder folder_;
  CallWindow env_;
  QVUI* w_ = nullptr;
};

TEST_F(CallWindowTest, NumberChecks) {
  struct Case {
    std::u16string number;
    std::u16string_view message;  // empty: the call goes out
  };
  const Case cases[] = {
      {u"13800", kTooShort},
      {u"138000", u""},
      {u"1380000000000000000001", u""},  // 22 digits
      {u"13800000000000000000012", kTooShort},  // 23 digits
      {u"138*000", kBadCharacters},
      {u"1380#00", kBadCharacters},
      {u"", kTooShort},
  };
  int lines = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(qv::ToUtf8(c.number));
    const size_t boxesBefore = env_.Boxes().size();
    ASSERT_TRUE(env_.Dial(c.number));
    auto boxes = env_.Boxes();
    if (c.message.empty()) {
      EXPECT_EQ(boxes.size(), boxesBefore);
      EXPECT_EQ(env_.Text(u"input_phoneText"), u"");
      EXPECT_EQ(LineText(lines, kLineNumber), c.number);
      EXPECT_EQ(LineText(lines, kLineStatus), u"正在呼叫...");
      EXPECT_EQ(LineText(lines, kLineType), u"callOut");
      EXPECT_EQ(w_->currentLine, lines);
      ++lines;
    } else {
      ASSERT_EQ(boxes.size(), boxesBefore + 1);
      EXPECT_EQ(boxes.back().text, c.message);
      EXPECT_EQ(boxes.back().caption, u"提示");
      EXPECT_EQ(boxes.back().owner, w_->mainHwnd);
      // The box keeps what was typed.
      EXPECT_EQ(env_.Text(u"input_phoneText"), c.number);
    }
    EXPECT_EQ(env_.Options().size(), static_cast<size_t>(lines));
  }
}

TEST_F(CallWindowTest, FirstCallShowsItsLineAndOption) {
  ASSERT_TRUE(env_.Dial(u"13800000002"));
  EXPECT_TRUE(w_->callTimerContainer->IsVisible());
  EXPECT_TRUE(w_->callInfoLayout->IsVisible());
  EXPECT_TRUE(w_->hangupButton->IsEnabled());
  EXPECT_EQ(w_->tabs->GetCurSel(), 0);
  EXPECT_EQ(w_->callTypeIcon->GetBkImage(), u"Skins/calledOut.png");
  auto options = env_.Options();
  ASSERT_EQ(options.size(), 1u);
  EXPECT_EQ(options[0]->GetName(), u"0");
  EXPECT_EQ(options[0]->GetUserData(), u"0");
  EXPECT_EQ(options[0]->GetText(), u"通话1");
  EXPECT_EQ(options[0]->GetParent(), w_->lineOptionsLayout);
  EXPECT_EQ(options[0]->GetFixedWidth(), 40);
  EXPECT_EQ(options[0]->GetFixedHeight(), 25);
  EXPECT_TRUE(options[0]->IsSelected());
  EXPECT_EQ(env_.Text(u"calledUserName"), u"13800000002");
  EXPECT_EQ(env_.Text(u"callstatus"), u"正在呼叫...");
  // The engine is not running: no call went out and no failure came back.
  EXPECT_FALSE(qv::LineHasCall(0));
  EXPECT_EQ(qv::LineStatus(0), u"");
}

TEST_F(CallWindowTest, NumberAlreadyOnALineIsRefusedAndTheBoxEmptied) {
  ASSERT_TRUE(env_.Dial(u"13800000002"));
  ASSERT_TRUE(env_.Dial(u"13800000002"));
  auto boxes = env_.Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, kAlreadyOnLine);
  EXPECT_EQ(boxes[0].owner, w_->mainHwnd);
  EXPECT_EQ(env_.Text(u"input_phoneText"), u"");
  EXPECT_EQ(env_.Options().size(), 1u);
  EXPECT_TRUE(LineText(1, kLineNumber).empty());
}

TEST_F(CallWindowTest, RedialBeforeAnyCallDoesNothingAfterOneRedialsTheSameParty) {
  ASSERT_TRUE(env_.driver().Click(w_, u"reCallBtn"));
  EXPECT_TRUE(env_.Boxes().empty());
  EXPECT_TRUE(env_.Options().empty());
  EXPECT_EQ(w_->currentLine, -1);

  w_->selectedRecordPhone = u"13800000002";
  w_->selectedRecordName = u"张三";
  w_->RequestCall(u"3");
  ASSERT_EQ(env_.Options().size(), 1u);
  EXPECT_EQ(env_.Options()[0]->GetText(), u"张三");
  ASSERT_TRUE(env_.driver().Click(w_, u"hangupBtn"));
  EXPECT_TRUE(env_.Options().empty());

  ASSERT_TRUE(env_.driver().Click(w_, u"reCallBtn"));
  EXPECT_EQ(LineText(0, kLineNumber), u"13800000002");
  EXPECT_EQ(LineText(0, kLineName), u"张三");
  ASSERT_EQ(env_.Options().size(), 1u);
  EXPECT_EQ(env_.Options()[0]->GetText(), u"张三");
}

TEST_F(CallWindowTest, PollTable) {
  ASSERT_TRUE(env_.Dial(u"13800000002"));
  // Two events between two polls: only the second is seen.
  Status(0, qv::kCallProgress);
  Status(0, qv::kRemoteRinging);
  env_.Tick();
  EXPECT_EQ(LineText(0, kLineStatus), u"响铃");
  EXPECT_EQ(env_.Text(u"callstatus"), u"响铃");
  EXPECT_EQ(qv::LineStatus(0), qv::kRemoteRinging);  // kept
  Status(0, qv::kCallProgress);
  env_.Tick();
  EXPECT_EQ(env_.Text(u"callstatus"), u"等待接通");
  // A text the table does not know is dropped; the status stays.
  Status(0, u"Call paused");
  env_.Tick();
  EXPECT_EQ(LineText(0, kLineStatus), u"等待接通");
  EXPECT_EQ(qv::LineStatus(0), u"");
  // An incoming text on an outgoing line is not an incoming call.
  Status(0, u"Incoming call sip:13900000009@127.0.0.1");
  env_.Tick();
  EXPECT_EQ(qv::LineStatus(0), u"");
  EXPECT_FALSE(w_->answerButton->IsVisible());
  EXPECT_EQ(LineText(0, kLineStatus), u"等待接通");
  // Answered: the talk time runs with the poll.
  Status(0, qv::kCallAnswered);
  env_.Tick(2);
  EXPECT_EQ(env_.Text(u"callstatus"), u"通话中");
  EXPECT_EQ(env_.Text(u"calledTimer_s"), u"02");
  EXPECT_EQ(qv::LineStatus(0), qv::kCallAnswered);
}

TEST_F(CallWindowTest, TalkTimeOf75TicksAndItsRecord) {
  ASSERT_TRUE(env_.Dial(u"13800000002"));
  Status(0, qv::kCallAnswered);
  env_.Tick(75);
  EXPECT_EQ(env_.Text(u"calledTimer_h"), u"00");
  EXPECT_EQ(env_.Text(u"calledTimer_m"), u"01");
  EXPECT_EQ(env_.Text(u"calledTimer_s"), u"15");
  Status(0, qv::kCallEnded);
  env_.Tick();
  auto records = env_.Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].phone, u"13800000002");
  EXPECT_EQ(records[0].timeLen, u"1分15秒");
  EXPECT_EQ(records[0].calledType, u"callOut");
  EXPECT_EQ(records[0].state, u"Call terminated");
  EXPECT_EQ(records[0].index, u"1");
  EXPECT_EQ(env_.ConfigValue(u"CalledListIndex"), u"1");
  EXPECT_EQ(qv::LineStatus(0), u"");
}

TEST_F(CallWindowTest, TalkTimeOf3725TicksHungUpBySubscriber) {
  ASSERT_TRUE(env_.Dial(u"13800000002"));
  Status(0, qv::kCallAnswered);
  env_.Tick(3725);
  EXPECT_EQ(env_.Text(u"calledTimer_h"), u"01");
  EXPECT_EQ(env_.Text(u"calledTimer_m"), u"02");
  EXPECT_EQ(env_.Text(u"calledTimer_s"), u"05");
  ASSERT_TRUE(env_.driver().Click(w_, u"hangupBtn"));
  auto records = env_.Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].timeLen, u"1时2分5秒");
  EXPECT_EQ(records[0].state, u"");
  EXPECT_EQ(w_->lineTime[0], (std::array<int, 3>{0, 0, 0}));
}

TEST_F(CallWindowTest, FinalTextsEndTheLineWithTheirRecord) {
  struct Case {
    std::u16string_view text;
    std::u16string_view state;
  };
  const Case cases[] = {
      {qv::kCallFailed, u"Call failed"},
      {qv::kCallEnded, u"Call terminated"},
      {qv::kCallMissed, u"missed"},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(qv::ToUtf8(c.text));
    const std::u16string number = u"1380000000" + qv::Widen(std::to_string(n));
    ASSERT_TRUE(env_.Dial(number));
    Status(0, c.text);
    env_.Tick();
    auto records = env_.Records();
    ASSERT_EQ(records.size(), static_cast<size_t>(n + 1));
    EXPECT_EQ(records[n].phone, number);
    EXPECT_EQ(records[n].state, c.state);
    EXPECT_EQ(records[n].timeLen, u"");  // never answered
    EXPECT_TRUE(LineText(0, kLineNumber).empty());
    EXPECT_EQ(qv::LineStatus(0), u"");
    ++n;
  }
}

TEST_F(CallWindowTest, LastEndTidiesTheCallArea) {
  ASSERT_TRUE(env_.Dial(u"13800000002"));
  Status(0, qv::kCallAnswered);
  env_.Tick(3);
  Status(0, qv::kCallEnded);
  env_.Tick();
  EXPECT_TRUE(env_.Options().empty());
  EXPECT_TRUE(w_->callButton->IsEnabled());
  EXPECT_FALSE(w_->hangupButton->IsEnabled());
  EXPECT_FALSE(w_->callInfoLayout->IsVisible());
  EXPECT_FALSE(w_->callTimerContainer->IsVisible());
  EXPECT_EQ(w_->currentLine, -1);
  for (auto name : {u"calledTimer_h", u"calledTimer_m", u"calledTimer_s"}) EXPECT_EQ(env_.Text(name), u"00");
  for (auto name : {u"callstatus", u"calledUserName", u"show_address"}) EXPECT_EQ(env_.Text(name), u"");
}

TEST_F(CallWindowTest, HangUpWithoutALineOnlyAdvancesTheRecordNumber) {
  w_->EndCall(w_->currentLine, u"");
  EXPECT_EQ(w_->calledListIndex, 1);
  EXPECT_EQ(env_.ConfigValue(u"CalledListIndex"), u"1");
  EXPECT_TRUE(env_.Records().empty());
  EXPECT_FALSE(w_->hangupButton->IsEnabled());
  EXPECT_FALSE(w_->callTimerContainer->IsVisible());
}

TEST_F(CallWindowTest, FifthOptionDisablesTheCallButtonAndLineSixTakesTheSeventhCall) {
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(w_->callButton->IsEnabled());
    ASSERT_TRUE(env_.Dial(u"1380000000" + qv::Widen(std::to_string(i))));
  }
  EXPECT_EQ(env_.Options().size(), 5u);
  EXPECT_FALSE(w_->callButton->IsEnabled());
  EXPECT_FALSE(env_.Dial(u"13800000009"));  // the disabled button takes no click
  EXPECT_TRUE(LineText(5, kLineNumber).empty());

  // From a contact: line 5.
  w_->selectedContactPhone = u"13800000005";
  w_->selectedContactName = u"李四";
  w_->RequestCall(u"2");
  EXPECT_EQ(LineText(5, kLineNumber), u"13800000005");
  EXPECT_EQ(LineText(5, kLineName), u"李四");
  EXPECT_EQ(w_->currentLine, 5);

  // From a record with lines 0-5 busy: line 6, calling, without a SIP call.
  w_->selectedRecordPhone = u"13800000006";
  w_->selectedRecordName = u"";
  w_->RequestCall(u"3");
  EXPECT_EQ(w_->currentLine, 6);
  EXPECT_EQ(LineText(6, kLineNumber), u"13800000006");
  EXPECT_EQ(LineText(6, kLineStatus), u"正在呼叫...");
  EXPECT_EQ(LineText(6, kLineType), u"callOut");
  EXPECT_FALSE(qv::LineHasCall(6));
  auto options = env_.Options();
  ASSERT_EQ(options.size(), 7u);
  EXPECT_EQ(options[5]->GetText(), u"李四");
  EXPECT_EQ(options[6]->GetText(), u"通话7");
  EXPECT_TRUE(options[6]->IsSelected());

  // Every end enables the call button again.
  w_->EndCall(6, u"");
  EXPECT_TRUE(w_->callButton->IsEnabled());
  EXPECT_EQ(env_.Options().size(), 6u);
}

TEST_F(CallWindowTest, SelectingAnOptionShowsItsLineEndingTheShownLineShowsTheFirst) {
  ASSERT_TRUE(env_.Dial(u"13800000002"));
  ASSERT_TRUE(env_.Dial(u"13800000003"));
  ASSERT_TRUE(env_.Dial(u"13800000004"));
  EXPECT_EQ(w_->currentLine, 2);
  Status(0, qv::kRemoteRinging);
  env_.Tick();
  // The area shows the selected line, not the line that changed.
  EXPECT_EQ(env_.Text(u"calledUserName"), u"13800000004");

  ASSERT_TRUE(env_.driver().Click(w_, env_.Options()[0]));
  EXPECT_EQ(w_->currentLine, 0);
  EXPECT_EQ(w_->SelectedLine(), 0);
  EXPECT_EQ(env_.Text(u"calledUserName"), u"13800000002");
  EXPECT_EQ(env_.Text(u"callstatus"), u"响铃");

  ASSERT_TRUE(env_.driver().Click(w_, env_.Options()[1]));
  EXPECT_EQ(w_->currentLine, 1);
  ASSERT_TRUE(env_.driver().Click(w_, u"hangupBtn"));
  auto options = env_.Options();
  ASSERT_EQ(options.size(), 2u);
  EXPECT_TRUE(options[0]->IsSelected());
  EXPECT_EQ(w_->currentLine, 0);
  env_.Tick();
  EXPECT_EQ(env_.Text(u"calledUserName"), u"13800000002");
  ASSERT_EQ(env_.Records().size(), 1u);
  EXPECT_EQ(env_.Records()[0].phone, u"13800000003");
}

TEST_F(CallWindowTest, RefusedInviteEndsTheLineAtTheNextPoll) {
  ASSERT_TRUE(env_.Dial(u"13800000002"));
  ASSERT_TRUE(env_.Dial(u"13800000003"));
  // What the adapter writes when the engine refuses the invite.
  Status(1, qv::kCallFailed);
  env_.Tick();
  auto records = env_.Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].phone, u"13800000003");
  EXPECT_EQ(records[0].state, u"Call failed");
  auto options = env_.Options();
  ASSERT_EQ(options.size(), 1u);
  EXPECT_TRUE(options[0]->IsSelected());
  EXPECT_EQ(w_->currentLine, 0);
  EXPECT_TRUE(LineText(1, kLineNumber).empty());
}

TEST_F(CallWindowTest, IncomingCallAnnouncedAnsweredAndEnded) {
  ASSERT_TRUE(env_.driver().Click(w_, u"tab_heade3"));
  ASSERT_TRUE(env_.driver().Click(w_, u"closebtn"));  // hidden to the tray
  ASSERT_FALSE(Driver::IsVisible(w_));
  Status(6, u"Incoming call \"王五\" <sip:13912345678@127.0.0.1:10090>");
  env_.Tick();
  EXPECT_TRUE(Driver::IsVisible(w_));
  EXPECT_TRUE(w_->windowShown);
  EXPECT_EQ(env_.platform().Foreground(), w_->mainHwnd);
  EXPECT_EQ(w_->tabs->GetCurSel(), 0);
  EXPECT_TRUE(w_->answerButton->IsVisible());
  EXPECT_EQ(w_->peerNumber, u"13912345678");
  EXPECT_EQ(LineText(6, kLineNumber), u"13912345678");
  EXPECT_EQ(LineText(6, kLineStatus), u"来电..");
  EXPECT_EQ(LineText(6, kLineType), u"callIn");
  EXPECT_EQ(w_->currentLine, 6);
  EXPECT_EQ(w_->callTypeIcon->GetBkImage(), u"Skins/calledIn.png");
  EXPECT_EQ(qv::LineStatus(6), u"");
  ASSERT_EQ(env_.Options().size(), 1u);
  EXPECT_EQ(env_.Options()[0]->GetUserData(), u"6");
  EXPECT_EQ(env_.Text(u"callstatus"), u"来电..");

  ASSERT_TRUE(env_.driver().Click(w_, u"answer_btn"));
  EXPECT_FALSE(w_->answerButton->IsVisible());
  EXPECT_EQ(LineText(6, kLineStatus), u"通话中");
  Status(6, qv::kCallAnswered);
  env_.Tick(3);
  Status(6, qv::kCallEnded);
  env_.Tick();
  auto records = env_.Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].phone, u"13912345678");
  EXPECT_EQ(records[0].calledType, u"callIn");
  EXPECT_EQ(records[0].state, u"answered");
  EXPECT_EQ(records[0].timeLen, u"3秒");
}

TEST_F(CallWindowTest, IncomingCallMissedIsRecordedOnce) {
  Status(6, u"Incoming call sip:13912345678@127.0.0.1");
  env_.Tick();
  ASSERT_TRUE(w_->answerButton->IsVisible());
  Status(6, qv::kCallMissed);
  env_.Tick();
  EXPECT_FALSE(w_->answerButton->IsVisible());
  auto records = env_.Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].phone, u"13912345678");
  EXPECT_EQ(records[0].state, u"missed");
  EXPECT_EQ(records[0].timeLen, u"");
  EXPECT_EQ(records[0].calledType, u"callIn");
  EXPECT_TRUE(env_.Options().empty());
  EXPECT_TRUE(LineText(6, kLineNumber).empty());
}

TEST_F(CallWindowTest, MissedCallKeepsItsCallerWhenAnotherNumberWasDialledMeanwhile) {
  Status(6, u"Incoming call sip:13912345678@127.0.0.1");
  env_.Tick();
  ASSERT_TRUE(env_.Dial(u"13800000002"));
  Status(6, qv::kCallMissed);
  env_.Tick();
  auto records = env_.Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].phone, u"13912345678");
  EXPECT_EQ(records[0].state, u"missed");
  EXPECT_EQ(LineText(0, kLineNumber), u"13800000002");  // the outgoing call goes on
}

TEST_F(CallWindowTest, IncomingAddressWithoutAtSignGivesAnEmptyNumber) {
  Status(6, u"Incoming call ");
  env_.Tick();
  EXPECT_TRUE(w_->answerButton->IsVisible());
  auto boxes = env_.Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, kTooShort);
  EXPECT_TRUE(env_.Options().empty());
}

TEST_F(CallWindowTest, PollGoingOnDuringAnAnnouncementsMessageAnnouncesTheCallOnce) {
  // A message box runs a loop of its own in which the one-second poll goes
  // on ticking (here: three ticks while the box is open).
  int nested = 0;
  env_.platform().SetMessageBoxHandler([&](const tk::headless::MessageBoxRecord&) {
    if (nested++ < 3) env_.Tick(3);
    return tk::IDOK;
  });
  Status(6, u"Incoming call sip:13912@127.0.0.1");  // too short for a SIP call
  env_.Tick();
  env_.platform().SetMessageBoxHandler(nullptr);
  int shown = 0;
  for (const auto& box : env_.Boxes()) shown += box.text == kTooShort ? 1 : 0;
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(qv::LineStatus(6), u"");
}

TEST_F(CallWindowTest, ShowNumberPrefixStaysOffTheLineAndTheRecord) {
  ASSERT_TRUE(env_.driver().Click(w_, u"whetherShowPhoen"));
  ASSERT_TRUE(w_->showNumberOption->IsSelected());
  ASSERT_TRUE(env_.Dial(u"13800000002"));
  EXPECT_EQ(LineText(0, kLineNumber), u"13800000002");
  EXPECT_EQ(env_.Options()[0]->GetText(), u"通话1");
  ASSERT_TRUE(env_.driver().Click(w_, u"hangupBtn"));
  ASSERT_EQ(env_.Records().size(), 1u);
  EXPECT_EQ(env_.Records()[0].phone, u"13800000002");
}

TEST_F(CallWindowTest, DialledNumberAndIncomingCallerGetTheirContactsName) {
  // Contact items as the contacts view makes them.
  auto addContact = [&](std::u16string_view name, std::u16string_view phone) {
    auto* item = new tk::CListContainerElementUI();
    auto* nameText = new tk::CLabelUI();
    nameText->SetName(u"user_text");
    nameText->SetText(name);
    auto* phoneText = new tk::CLabelUI();
    phoneText->SetName(u"phoneText_Number");
    phoneText->SetText(phone);
    item->Add(nameText);
    item->Add(phoneText);
    ASSERT_TRUE(w_->contactsList->Add(item));
  };
  addContact(u"张三", u"13800000002");
  addContact(u"李四", u"13912345678");
  ASSERT_TRUE(env_.Dial(u"13800000002"));
  EXPECT_EQ(LineText(0, kLineName), u"张三");
  EXPECT_EQ(env_.Options()[0]->GetText(), u"张三");
  ASSERT_TRUE(env_.Dial(u"13800000003"));  // no such contact
  EXPECT_EQ(LineText(1, kLineName), u"");
  EXPECT_EQ(env_.Options()[1]->GetText(), u"通话2");
  Status(6, u"Incoming call sip:13912345678@127.0.0.1");
  env_.Tick();
  EXPECT_EQ(LineText(6, kLineName), u"李四");
  EXPECT_EQ(env_.Options()[2]->GetText(), u"李四");
}

TEST(CallTexts, CallerNumberAndCallbackMessages) {
  EXPECT_EQ(CallerNumber(u"Incoming call sip:139@host"), u"139");
  EXPECT_EQ(CallerNumber(u"Incoming call \"Name\" <sip:13912345678@127.0.0.1:10090>"), u"13912345678");
  EXPECT_EQ(CallerNumber(u"Incoming call 139@host"), u"Incoming call 139");
  EXPECT_EQ(CallerNumber(u"Incoming call sip:139"), u"");
  EXPECT_EQ(CallbackResultMessage(u"0"), u"提交成功！");
  EXPECT_EQ(CallbackResultMessage(u"-7"), u"账户不存在");
  EXPECT_EQ(CallbackResultMessage(u""), u"");
  EXPECT_EQ(CallbackResultMessage(u"-1"), u"");
  EXPECT_EQ(TimerText(0), u"00");
  EXPECT_EQ(TimerText(9), u"09");
  EXPECT_EQ(TimerText(59), u"59");
}

}  // namespace

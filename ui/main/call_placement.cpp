// QVUI call placement: every way of starting, answering or announcing a
// call ends in RequestCall. A trial subscriber's call becomes a callback
// request to the service; a regular subscriber's call goes out over SIP on
// the lowest free call line and gets an option button in the call area.
#include <string>
#include <string_view>

#include "sip/sip.h"
#include "storage/hooks.h"
#include "storage/text.h"
#include "ui/main/call_lines.h"
#include "ui/main/qvui.h"
#include "ui/main/worker_task.h"
#include "ui/toolkit/paint_manager.h"
#include "ui/toolkit/shell.h"
#include "web/http_get.h"
#include "web/reply_field.h"
#include "web/service_hosts.h"
#include "web/sign.h"
#include "web/url.h"

namespace {

constexpr std::u16string_view kCaption = u"提示";
constexpr std::u16string_view kTrialOnlyCallback = u"您当前是体验用户，只能使用回拨功能！";
constexpr std::u16string_view kNumberLength = u"电话不能小于6位号码";
constexpr std::u16string_view kNumberCharacters = u"拨打的电话号码有非法字符！请重新输入";
constexpr std::u16string_view kNumberOnLine = u"此号码已在通话中";

constexpr size_t kMinNumberLength = 6;
constexpr size_t kMaxNumberLength = 22;
// With this many call-line options the call button is disabled.
constexpr size_t kOptionsDisablingCall = 5;

// Source "4": the subscriber answers the incoming call of line 6.
void AnswerIncomingCall(QVUI& w) {
  w.currentLine = qv::kIncomingLine;
  auto& line = w.lineInfo[qv::kIncomingLine];
  line[kLineNumber] = w.peerNumber;
  line[kLineName] = w.selectedContactName;
  line[kLineStatus] = kStatusTalking;
  line[kLineType] = kTypeIncoming;
  if (w.answerButton != nullptr) w.answerButton->SetVisible(false);
  StartWorkerTask(u"get_mobile_address", LocationLookupUrl(w.peerNumber), qv::kIncomingLine, w.peerNumber);
  // The line answered is the line talked on: its option becomes the
  // selected one, and the engine holds the call that had the sound.
  if (tk::COptionUI* option = LineOption(w, qv::kIncomingLine)) option->Selected(true);
  qv::AcceptIncomingCall();
}

// Source "6": the poll found a new incoming call on line 6.
void AnnounceIncomingCall(QVUI& w) {
  const std::u16string text = qv::LineStatus(qv::kIncomingLine);
  // Announced once: a message box below runs a loop of its own in which
  // the poll goes on ticking, and must not find the same call again.
  if (PollStepFor(qv::kIncomingLine, text).action == PollAction::kAnnounce) {
    qv::ClearLineStatusIf(qv::kIncomingLine, text);
  }
  w.peerNumber = CallerNumber(text);
  w.lineInfo[qv::kIncomingLine][kLineType] = kTypeIncoming;
  w.selectedContactName = w.LookupContactName(w.peerNumber);
  if (w.firstTabOption != nullptr) w.firstTabOption->Selected(true);
  if (w.tabs != nullptr) w.tabs->SelectItem(0);
  if (w.answerButton != nullptr) w.answerButton->SetVisible(true);
  if (!w.windowShown) {
    tk::ShowWindow(w.mainHwnd, tk::SW_SHOW);
    w.windowShown = true;
  }
  tk::SetForegroundWindow(w.mainHwnd);
}

// A trial subscriber asks the service to call peerNumber back.
void RequestCallback(QVUI& w) {
  const std::u16string pwd = qv::ScramblePassword(w.password);
  // The number asked for now: while the box is open the poll goes on and
  // may announce another call.
  const std::u16string called = w.peerNumber;
  tk::MessageBox(w.mainHwnd, kTrialOnlyCallback, kCaption, tk::MB_OK);
  const std::string url = qv::BuildUrl(
      qv::ServiceBase(qv::Service::Api), "/call",
      {{"uid", w.uid}, {"pwd", pwd}, {"called", called}, {"pv", u"pc"}, {"v", u"1.2"}, {"sign", w.sign}});
  // On this thread: the window waits for the service's answer.
  const std::u16string reply = qv::HttpGet(url, "");
  const std::u16string_view message = CallbackResultMessage(qv::ReplyField(reply, u"result"));
  if (!message.empty()) qv::ShowMessage(nullptr, message);
}

// The option button of the line currentLine, selected; the fifth one
// disables the call button.
void AddLineOption(QVUI& w) {
  tk::CPaintManagerUI& pm = *w.GetPaintManager();
  auto* option = new tk::COptionUI();
  const std::u16string line = qv::Widen(std::to_string(w.currentLine));
  option->SetAttribute(u"name", line);
  option->SetAttribute(u"group", kLineOptionGroup);
  option->SetAttribute(u"selectedimage", u"calling_op_bk.png");
  option->SetFixedWidth(40);
  option->SetFixedHeight(25);
  option->SetUserData(line);
  if (w.callInfoLayout != nullptr) w.callInfoLayout->SetVisible(true);
  if (w.lineOptionsLayout == nullptr || !w.lineOptionsLayout->Add(option)) {
    delete option;
    return;
  }
  w.callingOptions = pm.GetOptionGroup(kLineOptionGroup);
  if (w.callingOptions == nullptr || w.callingOptions->empty()) return;
  tk::COptionUI* last = w.callingOptions->back();
  last->SetText(!w.selectedContactName.empty() ? w.selectedContactName
                                                : u"通话" + qv::Widen(std::to_string(w.callingOptions->size())));
  // Selecting it shows its line in the call area (ShowSelectedLine).
  last->Selected(true);
  if (w.callingOptions->size() == kOptionsDisablingCall && w.callButton != nullptr) w.callButton->SetEnabled(false);
}

// A regular subscriber's call (or an announced incoming call) on a line.
void PlaceSipCall(QVUI& w, std::u16string_view source) {
  const bool incoming = source == kSourceIncoming;
  // 1.-2. The number's checks; each message ends the call attempt.
  const size_t length = w.peerNumber.size();
  if (length < kMinNumberLength || length > kMaxNumberLength) {
    tk::MessageBox(w.mainHwnd, kNumberLength, kCaption, tk::MB_OK);
    return;
  }
  if (!qv::IsAllDigits(w.peerNumber)) {
    qv::ShowMessage(w.mainHwnd, kNumberCharacters);
    return;
  }
  // 3. The entry box is emptied.
  if (w.numberInput != nullptr) w.numberInput->SetText(u"");
  // 4. One line per number.
  for (const auto& line : w.lineInfo) {
    if (line[kLineNumber] == w.peerNumber) {
      tk::MessageBox(w.mainHwnd, kNumberOnLine, kCaption, tk::MB_OK);
      return;
    }
  }
  // 5. The call area on the dial-pad page.
  if (w.callTimerContainer != nullptr) w.callTimerContainer->SetVisible(true);
  if (w.firstTabOption != nullptr) w.firstTabOption->Selected(true);
  if (w.tabs != nullptr) w.tabs->SelectItem(0);
  if (w.hangupButton != nullptr) w.hangupButton->SetEnabled(true);

  // 6. The lowest free line; with none, only a further option is added.
  int free = -1;
  for (int line = 0; line < qv::kCallLines; ++line) {
    if (w.lineInfo[line][kLineNumber].empty()) {
      free = line;
      break;
    }
  }
  if (free >= 0) {
    // 7. The line's call.
    if (incoming) {
      w.lineInfo[qv::kIncomingLine][kLineStatus] = kStatusIncomingShown;
      w.currentLine = qv::kIncomingLine;
      if (w.callTypeIcon != nullptr) w.callTypeIcon->SetBkImage(kIncomingIcon);
    } else {
      w.currentLine = free;
      w.lineInfo[free][kLineType] = kTypeOutgoing;
      w.lineInfo[free][kLineStatus] = kStatusCalling;
      if (w.callTypeIcon != nullptr) w.callTypeIcon->SetBkImage(kOutgoingIcon);
      // The prefix goes to the SIP server only; the line, the option and
      // the call log keep the number as dialled.
      const bool prefixed = w.showNumberOption != nullptr && w.showNumberOption->IsSelected();
      const std::u16string destination = prefixed ? std::u16string(kShowNumberPrefix) + w.peerNumber : w.peerNumber;
      StartWorkerTask(u"get_mobile_address", LocationLookupUrl(w.peerNumber), free, w.peerNumber);
      // Line 6 carries no outgoing call: it only shows "正在呼叫...". An
      // invite that the engine refuses reads "Call failed" at once.
      qv::InviteOnLine(free, destination);
    }
    // 8. The line is taken.
    w.lineInfo[w.currentLine][kLineNumber] = w.peerNumber;
    w.lineInfo[w.currentLine][kLineName] = w.selectedContactName;
  }
  // 9. The call-line option.
  AddLineOption(w);
}

}  // namespace

void QVUI::RequestCall(std::u16string_view source) {
  // 1. The number (and name) of the call, by where the call comes from.
  if (source.empty()) {
    peerNumber = numberInput != nullptr ? numberInput->GetText() : std::u16string();
    selectedContactName = LookupContactName(peerNumber);
  } else if (source == kSourceContact) {
    peerNumber = selectedContactPhone;
  } else if (source == kSourceRecord) {
    peerNumber = selectedRecordPhone;
    selectedContactName = selectedRecordName;
  } else if (source == kSourceAnswer) {
    AnswerIncomingCall(*this);
    return;
  } else if (source == kSourceRedial) {
    if (peerNumber.empty()) return;
  } else if (source == kSourceIncoming) {
    AnnounceIncomingCall(*this);
  }

  // 2. A trial subscriber can only ask to be called back (a subscriber
  // whose kind is not known yet calls over SIP).
  if (userType == u"0") {
    RequestCallback(*this);
    return;
  }
  PlaceSipCall(*this, source);
}

std::u16string QVUI::LookupContactName(std::u16string_view number) {
  if (contactsList == nullptr) return {};
  // An empty list starts fetching the contacts; this lookup goes on with
  // the list as it is.
  if (contactsList->GetCount() == 0) UpdateContactList(u"");
  for (int i = 0; i < contactsList->GetCount(); ++i) {
    tk::CControlUI* item = contactsList->GetItemAt(i);
    tk::CControlUI* phoneText = m_PaintManager.FindSubControlByName(item, u"phoneText_Number");
    if (phoneText == nullptr || phoneText->GetText() != number) continue;
    tk::CControlUI* name = m_PaintManager.FindSubControlByName(item, u"user_text");
    return name != nullptr ? name->GetText() : std::u16string();
  }
  return {};
}

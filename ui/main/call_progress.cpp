// QVUI call progress: the one-second poll of the call lines' status texts,
// the talk time and its display, the call-line options that choose the
// line shown (and talked on), and the end of a call with its record.
#include <array>
#include <string>
#include <string_view>

#include "sip/sip.h"
#include "storage/call_log.h"
#include "storage/config.h"
#include "storage/text.h"
#include "ui/main/call_lines.h"
#include "ui/main/qvui.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/paint_manager.h"

namespace {

bool ValidLine(int line) { return line >= 0 && line < qv::kCallLines; }

// One more second of talk time; seconds carry into minutes, minutes into
// hours.
void AddSecond(std::array<int, 3>& time) {
  if (++time[kSeconds] < 60) return;
  time[kSeconds] = 0;
  if (++time[kMinutes] < 60) return;
  time[kMinutes] = 0;
  ++time[kHours];
}

void SetText(tk::CControlUI* control, std::u16string_view text) {
  if (control != nullptr) control->SetText(text);
}

}  // namespace

void QVUI::PollCallStatus() {
  for (int line = 0; line < qv::kCallLines; ++line) {
    const std::u16string text = qv::LineStatus(line);
    if (text.empty()) continue;
    const PollStep step = PollStepFor(line, text);
    auto& info = lineInfo[line];
    if (!step.status.empty()) info[kLineStatus] = step.status;
    switch (step.action) {
      case PollAction::kAnnounce:
        RequestCall(kSourceIncoming);
        // Only this announcement: an event that came in meanwhile stays
        // for the next poll.
        qv::ClearLineStatusIf(line, text);
        break;
      case PollAction::kEnd:
        EndCall(line, step.reason);
        break;
      case PollAction::kShow:
        break;
      case PollAction::kTalk: {
        AddSecond(lineTime[line]);
        currentLine = SelectedLine();
        if (!ValidLine(currentLine)) break;
        const auto& shown = lineTime[currentLine];
        SetText(callTimerMinutes, TimerText(shown[kMinutes]));
        SetText(callTimerHours, TimerText(shown[kHours]));
        SetText(callTimerSeconds, TimerText(shown[kSeconds]));
        break;
      }
      case PollAction::kDrop:
        qv::ClearLineStatusIf(line, text);
        break;
    }
  }
  if (ValidLine(currentLine)) {
    const auto& info = lineInfo[currentLine];
    SetText(calledUserNameLabel, info[kLineNumber]);
    SetText(callStatusLabel, info[kLineStatus]);
    SetText(locationLabel, info[kLineLocation]);
  }
  // The selected line is the one talked on: a selection made while the
  // engine could not resume the line (another call still ringing) takes
  // effect as soon as it can.
  if (tk::COptionUI* selected = SelectedLineOption(*this)) qv::ResumeLine(qv::ToInt(selected->GetUserData()));
}

int QVUI::SelectedLine() {
  if (callingOptions == nullptr || callingOptions->empty()) return 0;
  for (tk::COptionUI* option : *callingOptions) {
    if (option != nullptr && option->IsSelected()) return qv::ToInt(option->GetUserData());
  }
  return 0;
}

void QVUI::ShowSelectedLine() {
  currentLine = SelectedLine();
  if (!ValidLine(currentLine)) return;
  const auto& info = lineInfo[currentLine];
  SetText(calledUserNameLabel, info[kLineNumber]);
  SetText(callStatusLabel, info[kLineStatus]);
  SetText(locationLabel, info[kLineLocation]);
  // Talking on the line chosen: its call comes off hold, and the engine
  // holds the call that had the sound.
  if (SelectedLineOption(*this) != nullptr) qv::ResumeLine(currentLine);
}

void QVUI::EndCall(int line, std::u16string_view reason) {
  // 1. Every end hands out a record number, written at once.
  ++calledListIndex;
  qv::SetConfigValue(u"CalledListIndex", qv::Widen(std::to_string(calledListIndex)));
  // 2.
  callingOptions = m_PaintManager.GetOptionGroup(kLineOptionGroup);

  if (reason == kReasonMissed && line == qv::kIncomingLine) {
    // 3. An incoming call that was never answered: recorded with the
    // party shown at its announcement.
    if (answerButton != nullptr) answerButton->SetVisible(false);
    auto& incoming = lineInfo[qv::kIncomingLine];
    const bool shown = !incoming[kLineNumber].empty();
    const std::u16string number = shown ? incoming[kLineNumber] : peerNumber;
    const std::u16string name = shown ? incoming[kLineName] : selectedContactName;
    if (!number.empty()) {
      qv::AppendCallRecord(name, number, u"", incoming[kLineType], kReasonMissed, callLogPath, calledListIndex);
      BuildCallRecordList(u"");
      for (auto& text : incoming) text.clear();
    }
  } else {
    // 4. The subscriber hung up: the engine ends the call.
    if (reason.empty()) qv::TerminateLine(line);
    if (line == qv::kIncomingLine && answerButton != nullptr) answerButton->SetVisible(false);
  }

  if (callingOptions == nullptr) {
    // 5. No option was ever made.
    if (hangupButton != nullptr) hangupButton->SetEnabled(false);
    if (callInfoLayout != nullptr) callInfoLayout->SetVisible(false);
    if (callTimerContainer != nullptr) callTimerContainer->SetVisible(false);
  } else {
    // 6. The line's option: its record, then the option goes.
    const size_t count = callingOptions->size();
    for (size_t i = 0; i < count && i < callingOptions->size(); ++i) {
      tk::COptionUI* option = (*callingOptions)[i];
      if (option == nullptr || !ValidLine(line) || qv::ToInt(option->GetUserData()) != line) continue;
      if (!m_PaintManager.RemoveOptionGroup(kLineOptionGroup, option)) continue;
      {
        auto& info = lineInfo[line];
        auto& time = lineTime[line];
        const std::u16string duration = qv::DurationText(time[kHours], time[kMinutes], time[kSeconds]);
        if (!info[kLineNumber].empty()) {
          std::u16string state;
          if (line == qv::kIncomingLine) {
            const bool answered = reason == kReasonTerminated || info[kLineStatus] == kStatusTalking;
            state = answered ? kStateAnswered : kReasonMissed;
          } else {
            state = reason;
            UpdateBalance(u"");
          }
          qv::AppendCallRecord(info[kLineName], info[kLineNumber], duration, info[kLineType], state, callLogPath,
                               calledListIndex);
        }
        BuildCallRecordList(u"");
        for (auto& text : info) text.clear();
        time = {0, 0, 0};
      }
      if (lineOptionsLayout != nullptr) lineOptionsLayout->Remove(option);
      if (callingOptions->empty()) {
        if (hangupButton != nullptr) hangupButton->SetEnabled(false);
        if (callInfoLayout != nullptr) callInfoLayout->SetVisible(false);
      } else {
        // The first remaining line is shown (and talked on).
        tk::COptionUI* first = callingOptions->front();
        currentLine = qv::ToInt(first->GetUserData());
        first->Selected(true);
      }
      break;
    }
    // 7.
    if (callButton != nullptr) callButton->SetEnabled(true);
    if (callingOptions->empty()) {
      if (hangupButton != nullptr) hangupButton->SetEnabled(false);
      if (callInfoLayout != nullptr) callInfoLayout->SetVisible(false);
      if (callTimerContainer != nullptr) callTimerContainer->SetVisible(false);
      currentLine = -1;
    }
  }

  // 8. The call area starts blank.
  SetText(callStatusLabel, u"");
  SetText(calledUserNameLabel, u"");
  SetText(callTimerSeconds, u"00");
  SetText(callTimerMinutes, u"00");
  SetText(callTimerHours, u"00");
  SetText(locationLabel, u"");

  // 9. The line's slot and call entry are free again; an incoming call
  // that arrived on line 6 meanwhile keeps both.
  if (ValidLine(line)) {
    const std::u16string text = qv::LineStatus(line);
    if (line == qv::kIncomingLine && PollStepFor(line, text).action == PollAction::kAnnounce) return;
    qv::ClearLineStatusIf(line, text);
    qv::ClearLineCall(line);
  }
}

// The small fixed parts of call placement and call progress: call
// sources, the statuses a call line shows, the poll's table of the SIP
// engine's status texts, and the texts and addresses built from them.
#pragma once

#include <string>
#include <string_view>

class QVUI;
namespace tk {
class COptionUI;
}

// Where RequestCall's number comes from.
inline constexpr std::u16string_view kSourceDialPad = u"";
inline constexpr std::u16string_view kSourceContact = u"2";
inline constexpr std::u16string_view kSourceRecord = u"3";
inline constexpr std::u16string_view kSourceAnswer = u"4";
inline constexpr std::u16string_view kSourceRedial = u"5";
inline constexpr std::u16string_view kSourceIncoming = u"6";

// Statuses of a call line, as the call area shows them.
inline constexpr std::u16string_view kStatusCalling = u"正在呼叫...";
inline constexpr std::u16string_view kStatusIncomingShown = u"来电..";
inline constexpr std::u16string_view kStatusIncoming = u"电话呼入";
inline constexpr std::u16string_view kStatusWaiting = u"等待接通";
inline constexpr std::u16string_view kStatusRinging = u"响铃";
inline constexpr std::u16string_view kStatusTalking = u"通话中";
inline constexpr std::u16string_view kStatusFailed = u"呼叫失败";
inline constexpr std::u16string_view kStatusEnded = u"通话结束";
inline constexpr std::u16string_view kStatusMissed = u"未接听";

// Call types of a line, also the "calledType" of its call record.
inline constexpr std::u16string_view kTypeOutgoing = u"callOut";
inline constexpr std::u16string_view kTypeIncoming = u"callIn";

// End reasons of EndCall, also the "state" of an outgoing call's record
// ("" when the subscriber hung up).
inline constexpr std::u16string_view kReasonFailed = u"Call failed";
inline constexpr std::u16string_view kReasonTerminated = u"Call terminated";
inline constexpr std::u16string_view kReasonMissed = u"missed";
inline constexpr std::u16string_view kStateAnswered = u"answered";

// The option group of the call-line buttons.
inline constexpr std::u16string_view kLineOptionGroup = u"callingoption";
// The prefix that asks the SIP server to show the subscriber's number.
inline constexpr std::u16string_view kShowNumberPrefix = u"512";
// The call-type icons of the call area.
inline constexpr std::u16string_view kIncomingIcon = u"Skins/calledIn.png";
inline constexpr std::u16string_view kOutgoingIcon = u"Skins/calledOut.png";

// What the poll does with a line's status text.
enum class PollAction {
  kDrop,      // not a text of the table: emptied, nothing else
  kAnnounce,  // a new incoming call (line 6 only)
  kEnd,       // a final text: the line is ended
  kShow,      // the call goes on: the status is shown, the text kept
  kTalk,      // answered: one second of talk time
};
struct PollStep {
  PollAction action = PollAction::kDrop;
  std::u16string_view status;  // the line's new status (empty: unchanged)
  std::u16string_view reason;  // for kEnd: the reason given to EndCall
};
// The poll's table: the step for a status text found on `line`.
PollStep PollStepFor(int line, std::u16string_view text);

// The caller's number in line 6's text "Incoming call <address>": after
// the first ':' (the whole text without one), up to the first '@' (empty
// without one).
std::u16string CallerNumber(std::u16string_view incomingText);

// The message of a callback request's result code; empty for codes that
// get none (an empty reply among them).
std::u16string_view CallbackResultMessage(std::u16string_view result);

// The location lookup of a number at the number lookup service.
std::string LocationLookupUrl(std::u16string_view number);

// A part of the timer display: two digits below 10 ("07"), else the number.
std::u16string TimerText(int value);

// The first call-line option whose user data is `line`; null when none.
tk::COptionUI* LineOption(QVUI& window, int line);
// The first selected call-line option; null when none is selected.
tk::COptionUI* SelectedLineOption(QVUI& window);

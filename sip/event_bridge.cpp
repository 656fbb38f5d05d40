#include "event_bridge.h"

#include "engine_state.h"
#include "line_table.h"
#include "sip/sip.h"
#include "storage/text.h"

#include <vector>

namespace qv {

namespace {

// Incoming calls waiting to be declined; touched only with sipLock held.
std::vector<LinphoneCall*> strayCalls;

std::u16string RemoteAddress(LinphoneCall* call) {
  const LinphoneAddress* address = linphone_call_get_remote_address(call);
  if (!address) return {};
  char* text = linphone_address_as_string(address);
  std::u16string wide = text ? FromUtf8(text) : std::u16string();
  bctbx_free(text);
  return wide;
}

// The line of a call; an outgoing call still inside its invite gets the
// line the invite is for.
int LineFor(LinphoneCall* call, LinphoneCallState state) {
  int line = CallLine(call);
  if (line != kNoLine) return line;
  if (pendingLine >= 0 &&
      (state == LinphoneCallStateOutgoingInit || state == LinphoneCallStateOutgoingProgress)) {
    SetCallLine(call, pendingLine);
    SetLineCall(pendingLine, call);
    return pendingLine;
  }
  return kNoLine;
}

// The text of a call's end. This engine release ends a call that the far
// end declined (603) with End, where earlier releases reported an error:
// for the subscriber it is a failed call either way.
std::u16string_view EndText(LinphoneReason reason) {
  switch (reason) {
    case LinphoneReasonNotAnswered: return kCallMissed;
    case LinphoneReasonDeclined: return kCallFailed;
    default: return kCallEnded;
  }
}

void OnIncoming(LinphoneCall* call) {
  linphone_call_enable_camera(call, FALSE);
  if (ClaimIncomingLine(call, std::u16string(kIncomingCallPrefix) + RemoteAddress(call))) {
    SetCallLine(call, kIncomingLine);
    return;
  }
  // Line 6 is taken (or its last call's end is not yet seen): this call
  // gets no line and is declined as busy.
  SetCallLine(call, kStrayLine);
  strayCalls.push_back(linphone_call_ref(call));
}

}  // namespace

void OnCallStateChanged(LinphoneCore*, LinphoneCall* call, LinphoneCallState state, const char*) {
  if (state == LinphoneCallStateIncomingReceived) {
    OnIncoming(call);
    return;
  }
  int line = LineFor(call, state);
  if (line < 0 || line >= kCallLines) return;
  switch (state) {
    case LinphoneCallStateOutgoingProgress:
      SetLineStatusFor(line, call, std::u16string(kCallProgress));
      break;
    case LinphoneCallStateOutgoingRinging:
      SetLineStatusFor(line, call, std::u16string(kRemoteRinging));
      break;
    case LinphoneCallStateConnected:
      SetLineStatusFor(line, call, std::u16string(kCallAnswered));
      break;
    case LinphoneCallStateError:
      // The call is over: its handle must not outlive it on the line.
      SetLineStatusFor(line, call, std::u16string(kCallFailed));
      ForgetLineCall(line, call);
      break;
    case LinphoneCallStateEnd:
      SetLineStatusFor(line, call, std::u16string(EndText(linphone_call_get_reason(call))));
      ForgetLineCall(line, call);
      break;
    case LinphoneCallStateReleased:
      ForgetLineCall(line, call);
      break;
    default:
      break;
  }
}

void DeclineStrayCalls() {
  std::vector<LinphoneCall*> calls;
  calls.swap(strayCalls);
  for (LinphoneCall* call : calls) {
    LinphoneCallState s = linphone_call_get_state(call);
    if (s == LinphoneCallStateIncomingReceived || s == LinphoneCallStateIncomingEarlyMedia)
      linphone_call_decline(call, LinphoneReasonBusy);
    linphone_call_unref(call);
  }
}

void DropStrayCalls() {
  for (LinphoneCall* call : strayCalls) linphone_call_unref(call);
  strayCalls.clear();
}

}  // namespace qv

#include "sip/sip.h"

#include "engine_state.h"
#include "line_table.h"
#include "storage/text.h"

#include <chrono>
#include <thread>

namespace qv {

namespace {

constexpr std::chrono::milliseconds kHangUpDelay{3000};

bool OutgoingLine(int line) { return line >= 0 && line < kIncomingLine; }

}  // namespace

bool InviteOnLine(int line, std::u16string_view destination) {
  if (!OutgoingLine(line) || LineHasCall(line)) return false;
  std::string to = ToUtf8(destination);
  LinphoneCall* call = nullptr;
  {
    std::lock_guard lock(sipLock);
    if (!sipCore) return false;
    // The engine reports the first states of the call inside the invite,
    // before it returns the call: the bridge takes the line from here.
    pendingLine = line;
    call = linphone_core_invite(sipCore, to.c_str());
    pendingLine = -1;
    if (call) {
      SetCallLine(call, line);
      LinphoneCallState state = linphone_call_get_state(call);
      // A call that already failed inside the invite has reported so itself.
      if (state == LinphoneCallStateError || state == LinphoneCallStateEnd || state == LinphoneCallStateReleased) {
        ForgetLineCall(line, call);
        return false;
      }
    }
    SetLineCall(line, call);
  }
  // Refused (too many calls, another call still ringing, a bad address):
  // nothing will ever be reported for this line, so say so now.
  if (!call) SetLineStatus(line, std::u16string(kCallFailed));
  return call != nullptr;
}

void AcceptIncomingCall() {
  std::lock_guard lock(sipLock);
  if (!sipCore) return;
  if (LinphoneCall* call = LineCall(kIncomingLine)) linphone_call_accept(call);
}

void TerminateLine(int line) {
  if (line < 0 || line >= kCallLines) return;
  if (!LineHasCall(line)) return;
  if (line != kIncomingLine) std::this_thread::sleep_for(kHangUpDelay);
  {
    std::lock_guard lock(sipLock);
    terminating = true;
    // Read under sipLock: the call cannot end and go away meanwhile.
    LinphoneCall* call = LineCall(line);
    if (sipCore && call) linphone_call_terminate(call);
    terminating = false;
  }
  ClearLineCall(line);
}

bool ResumeLine(int line) {
  std::lock_guard lock(sipLock);
  if (!sipCore) return false;
  LinphoneCall* call = LineCall(line);
  if (!call) return false;
  LinphoneCallState state = linphone_call_get_state(call);
  if (state != LinphoneCallStatePaused) return false;
  return linphone_call_resume(call) == 0;
}

}  // namespace qv

// The engine's call-state notification, turned into line status texts.
#pragma once

#include <linphone/core.h>

namespace qv {

// Runs with sipLock held (inside an iteration or an engine operation).
void OnCallStateChanged(LinphoneCore* core, LinphoneCall* call, LinphoneCallState state, const char* message);

// Declines, as busy, the incoming calls that found line 6 taken. Called
// after each iteration with sipLock held (never from inside a notification).
void DeclineStrayCalls();

// Forgets stray calls not yet declined (engine shutdown, sipLock held).
void DropStrayCalls();

}  // namespace qv

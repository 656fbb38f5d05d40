// The per-line tables `lineStatus` and `lineCalls`, under a lock of their
// own (never sipLock: the bridge writes them while the engine holds it).
#pragma once

#include <linphone/core.h>

#include <string>

namespace qv {

// Each engine call carries its line as user data, stored as line + 1 so
// that a call without user data reads as "no line".
inline constexpr int kNoLine = -1;
// A call that got no line (a second incoming call while line 6 is taken);
// its events touch no slot.
inline constexpr int kStrayLine = 7;

int CallLine(LinphoneCall* call);
void SetCallLine(LinphoneCall* call, int line);

// The line's engine call, or null.
LinphoneCall* LineCall(int line);
// Stores `call` on the line.
void SetLineCall(int line, LinphoneCall* call);
// Gives line 6 to an incoming call and writes its text, only when the line
// has no call and no end of an earlier call still waiting for the poll
// (that end would be overwritten and lost). True when it did.
bool ClaimIncomingLine(LinphoneCall* call, std::u16string text);
// Clears the line's call entry when it holds `call`; true when it did.
bool ForgetLineCall(int line, LinphoneCall* call);
// Writes the line's status text.
void SetLineStatus(int line, std::u16string text);
// Writes the line's status text only while the line holds `call`.
void SetLineStatusFor(int line, LinphoneCall* call, std::u16string text);
// Empties every slot and call entry (engine shutdown).
void ResetLines();

}  // namespace qv

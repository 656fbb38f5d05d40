// The SIP engine adapter: the one liblinphone engine of the process, the
// per-line call status table the windows poll, and the account and call
// operations. No window code and no liblinphone types in this header.
//
// Threads: every operation here is called from the user-interface thread
// (the thread that called StartSipEngine), except the line-table readers,
// which any thread may call. The engine is iterated every 23 ms on a thread
// of its own; engine notifications never reach the windows directly, they
// only write the line table.
#pragma once

#include <string>
#include <string_view>

namespace qv {

// ---- Engine lifecycle -------------------------------------------------------

// Starts the engine: the command pipe guard, the engine with its
// configuration files, the 23 ms iteration and the SIGINT/SIGTERM notice.
//   0  started, or already running
//  -1  another instance serves the command pipe for this user
//  -2  the engine could not be created
int StartSipEngine();

// Ends the engine (call history of the engine, command pipe, iteration,
// engine). Waits for a running iteration to finish. A second call does
// nothing. Call it on the thread that called StartSipEngine, never from a
// signal handler. The argument (a signal number) is ignored.
void ShutdownSipEngine(int signal = 0);

// True between a successful StartSipEngine and ShutdownSipEngine.
bool SipEngineRunning();

// SIGINT and SIGTERM only note the signal. The user-interface loop polls
// PendingShutdownSignal() (the signal number, 0 when none) or watches
// ShutdownSignalFd() (readable once a signal has arrived; -1 before start)
// and then shuts the engine down itself and ends the process.
int PendingShutdownSignal();
int ShutdownSignalFd();

// Files in place of the sound card: the engine sends `wavPath` (16-bit mono
// WAV, looped) as the call's audio and plays nothing. An empty path returns
// to the sound card. The environment variable QV_SIP_USE_FILES=/path.wav
// turns this on at start-up (tests run without a sound card).
void UseSoundFiles(const std::string& wavPath);

// ---- Engine configuration files ---------------------------------------------

struct ConfigFile {
  std::string path;      // the engine's configuration file
  bool present = false;  // an earlier run left a configuration there
};

// "veltophonerc" in the current directory when it is not empty (present);
// otherwise "<config>/Linphone/veltophonerc" where <config> is
// XDG_CONFIG_HOME, else $HOME/.config (the folder is created; present when
// the file is larger than 250 bytes); "veltophonerc" (not present) when
// neither variable is set.
ConfigFile ConfigFilePath();

// "veltophonerc.factory" when that file in the current directory is not
// empty, otherwise "" (no factory file).
std::string FactoryFilePath();

// ---- Call lines and their status texts --------------------------------------

// Lines 0..5 carry outgoing calls, line 6 the incoming call.
inline constexpr int kCallLines = 7;
inline constexpr int kIncomingLine = 6;

// The status texts the engine bridge writes into a line's slot.
inline constexpr std::u16string_view kIncomingCallPrefix = u"Incoming call ";  // + caller's address
inline constexpr std::u16string_view kCallProgress = u"Call progress";
inline constexpr std::u16string_view kRemoteRinging = u"Remote ringing";
inline constexpr std::u16string_view kCallAnswered = u"Call answered";
inline constexpr std::u16string_view kCallFailed = u"Call failed";
inline constexpr std::u16string_view kCallMissed = u"Call missed";
inline constexpr std::u16string_view kCallEnded = u"Call ended";

// The latest status text of a line ("" when nothing to report or a bad line).
std::u16string LineStatus(int line);
// Empties a line's slot.
void ClearLineStatus(int line);
// Empties the slot only if it still holds `expected` (no newer event came
// in between); true when it did.
bool ClearLineStatusIf(int line, std::u16string_view expected);
// True while the line has an engine call.
bool LineHasCall(int line);
// Forgets the line's engine call (the line is free again).
void ClearLineCall(int line);

// ---- Account and call operations --------------------------------------------

// Registers "sip:<user>@<SIP domain>:10090" with `password` (expiry 3600 s).
// With force false and a configuration present from an earlier run, an
// account already stored for the same user and password is kept as it is.
void RegisterSipAccount(std::u16string_view user, std::u16string_view password, bool force);
// Removes the default account and the first authentication entry.
void RemoveSipAccount();
// True when the default account is registered with the server.
bool SipAccountRegistered();

// Calls `destination` (digits; the engine completes it with the account's
// domain) on line 0..5 when that line has no call. Returns true when the
// engine placed the call; when it refuses, the line's slot reads
// "Call failed" at once. A bad or busy line sends nothing and returns false.
bool InviteOnLine(int line, std::u16string_view destination);

// Answers the incoming call of line 6 (the call that had the sound is held).
void AcceptIncomingCall();

// Ends the call of a line. For lines 0..5 with a call the calling thread
// first waits 3 seconds; line 6 does not wait. Nothing for a line without
// a call.
void TerminateLine(int line);

// Takes a held call of a line off hold; the call that had the sound is put
// on hold. Returns true when the engine resumes it; false when the line has
// no call or its call is not on hold by us.
bool ResumeLine(int line);

}  // namespace qv

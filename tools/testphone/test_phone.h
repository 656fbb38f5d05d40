#pragma once

#include <linphone/core.h>

#include <chrono>
#include <string>
#include <vector>

struct TestPhoneOptions {
  std::string user;
  std::string password;
  std::string displayName;         // shown to the called party
  std::string domain = "127.0.0.1";
  int port = 10090;
  std::string transport = "udp";
  int autoAnswerMs = -1;           // answer every incoming call after this delay
  std::string autoDecline;         // decline every incoming call with this reason
  std::string playFile;            // WAV sent as the call's audio; a tone when empty
};

// A liblinphone phone driven line by line: it registers, answers, declines,
// calls and hangs up on command, and prints every call state change.
// Single-threaded: the caller runs Iterate() and Command() from one loop.
class TestPhone {
 public:
  explicit TestPhone(TestPhoneOptions options);
  ~TestPhone();
  TestPhone(const TestPhone&) = delete;
  TestPhone& operator=(const TestPhone&) = delete;

  bool Start();
  void Iterate();
  // Returns false when the phone should end.
  bool Command(const std::string& line);

 private:
  using Clock = std::chrono::steady_clock;

  static void OnCallState(LinphoneCore* core, LinphoneCall* call, LinphoneCallState state, const char* message);
  static void OnRegistration(LinphoneCore* core, LinphoneProxyConfig* config, LinphoneRegistrationState state,
                             const char* message);
  void HandleCallState(LinphoneCall* call, LinphoneCallState state);
  void Register();
  LinphoneCall* RingingCall() const;
  void Answer();
  void Decline(const std::string& reason);
  void HangUpAll();
  void Stats();
  void Say(const std::string& line);

  TestPhoneOptions options_;
  std::string dataDir_;
  LinphoneCore* core_ = nullptr;
  Clock::time_point answerAt_{};
  bool answerPending_ = false;
  Clock::time_point hangupAt_{};
  bool hangupPending_ = false;
};

#include "test_phone.h"

#include "tone.h"

#include <linphone/factory.h>
#include <linphone/logging.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

namespace {

const char* StateName(LinphoneCallState state) {
  switch (state) {
    case LinphoneCallStateIdle: return "Idle";
    case LinphoneCallStateIncomingReceived: return "IncomingReceived";
    case LinphoneCallStatePushIncomingReceived: return "PushIncomingReceived";
    case LinphoneCallStateOutgoingInit: return "OutgoingInit";
    case LinphoneCallStateOutgoingProgress: return "OutgoingProgress";
    case LinphoneCallStateOutgoingRinging: return "OutgoingRinging";
    case LinphoneCallStateOutgoingEarlyMedia: return "OutgoingEarlyMedia";
    case LinphoneCallStateConnected: return "Connected";
    case LinphoneCallStateStreamsRunning: return "StreamsRunning";
    case LinphoneCallStatePausing: return "Pausing";
    case LinphoneCallStatePaused: return "Paused";
    case LinphoneCallStateResuming: return "Resuming";
    case LinphoneCallStateReferred: return "Referred";
    case LinphoneCallStateError: return "Error";
    case LinphoneCallStateEnd: return "End";
    case LinphoneCallStatePausedByRemote: return "PausedByRemote";
    case LinphoneCallStateUpdatedByRemote: return "UpdatedByRemote";
    case LinphoneCallStateIncomingEarlyMedia: return "IncomingEarlyMedia";
    case LinphoneCallStateUpdating: return "Updating";
    case LinphoneCallStateReleased: return "Released";
    case LinphoneCallStateEarlyUpdatedByRemote: return "EarlyUpdatedByRemote";
    case LinphoneCallStateEarlyUpdating: return "EarlyUpdating";
  }
  return "Unknown";
}

const std::map<std::string, LinphoneReason>& Reasons() {
  static const std::map<std::string, LinphoneReason> reasons = {
      {"busy", LinphoneReasonBusy},
      {"declined", LinphoneReasonDeclined},
      {"notfound", LinphoneReasonNotFound},
      {"unavailable", LinphoneReasonTemporarilyUnavailable},
      {"notanswered", LinphoneReasonNotAnswered},
  };
  return reasons;
}

std::string ReasonName(LinphoneReason reason) {
  for (const auto& [name, value] : Reasons())
    if (value == reason) return name;
  return reason == LinphoneReasonNone ? "none" : std::to_string(static_cast<int>(reason));
}

TestPhone* PhoneOf(LinphoneCore* core) {
  return static_cast<TestPhone*>(linphone_core_get_user_data(core));
}

}  // namespace

TestPhone::TestPhone(TestPhoneOptions options) : options_(std::move(options)) {}

TestPhone::~TestPhone() {
  if (core_) {
    linphone_core_stop(core_);
    linphone_core_unref(core_);
  }
  if (!dataDir_.empty()) {
    std::error_code ec;
    std::filesystem::remove_all(dataDir_, ec);
  }
}

bool TestPhone::Start() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/qv-testphone.XXXXXX";
  if (!mkdtemp(pattern.data())) return false;
  dataDir_ = pattern;
  std::filesystem::create_directory(dataDir_ + "/plugins");

  if (options_.playFile.empty()) {
    options_.playFile = dataDir_ + "/tone.wav";
    if (!WriteToneWav(options_.playFile, 440, 2)) return false;
  }

  if (!std::getenv("QV_TESTPHONE_DEBUG"))
    linphone_logging_service_set_log_level(linphone_logging_service_get(), LinphoneLogLevelFatal);
  LinphoneFactory* factory = linphone_factory_get();
  std::string dir = dataDir_ + "/";
  linphone_factory_set_data_dir(factory, dir.c_str());
  linphone_factory_set_config_dir(factory, dir.c_str());
  linphone_factory_set_msplugins_dir(factory, (dataDir_ + "/plugins").c_str());

  LinphoneCoreCbs* cbs = linphone_factory_create_core_cbs(factory);
  linphone_core_cbs_set_call_state_changed(cbs, &TestPhone::OnCallState);
  linphone_core_cbs_set_registration_state_changed(cbs, &TestPhone::OnRegistration);
  core_ = linphone_factory_create_core_3(factory, nullptr, nullptr, nullptr);
  if (!core_) {
    linphone_core_cbs_unref(cbs);
    return false;
  }
  linphone_core_set_user_data(core_, this);
  linphone_core_add_callbacks(core_, cbs);
  linphone_core_cbs_unref(cbs);

  LinphoneTransports* transports = linphone_factory_create_transports(factory);
  linphone_transports_set_udp_port(transports, LC_SIP_TRANSPORT_RANDOM);
  linphone_transports_set_tcp_port(transports, LC_SIP_TRANSPORT_RANDOM);
  linphone_transports_set_tls_port(transports, LC_SIP_TRANSPORT_DISABLED);
  linphone_core_set_transports(core_, transports);
  linphone_transports_unref(transports);
  linphone_core_set_audio_port(core_, -1);
  linphone_core_enable_video_capture(core_, FALSE);
  linphone_core_enable_video_display(core_, FALSE);
  linphone_core_set_user_agent(core_, "qv-testphone", "1");
  linphone_core_set_inc_timeout(core_, 600);
  linphone_core_set_max_calls(core_, 8);
  linphone_core_set_use_files(core_, TRUE);
  linphone_core_set_play_file(core_, options_.playFile.c_str());
  linphone_core_set_ring(core_, nullptr);
  linphone_core_set_ringback(core_, nullptr);

  if (linphone_core_start(core_) != 0) return false;
  if (!options_.user.empty()) Register();
  Say("ready");
  return true;
}

void TestPhone::Register() {
  std::string identity = "sip:" + options_.user + "@" + options_.domain + ":" + std::to_string(options_.port);
  std::string server = identity + ";transport=" + options_.transport;
  LinphoneFactory* factory = linphone_factory_get();
  LinphoneAuthInfo* auth = linphone_factory_create_auth_info(factory, options_.user.c_str(), nullptr,
                                                             options_.password.c_str(), nullptr,
                                                             options_.domain.c_str(), nullptr);
  linphone_core_add_auth_info(core_, auth);
  linphone_auth_info_unref(auth);

  LinphoneProxyConfig* config = linphone_core_create_proxy_config(core_);
  LinphoneAddress* address = linphone_factory_create_address(factory, identity.c_str());
  if (!options_.displayName.empty()) linphone_address_set_display_name(address, options_.displayName.c_str());
  linphone_proxy_config_set_identity_address(config, address);
  linphone_address_unref(address);
  linphone_proxy_config_set_server_addr(config, server.c_str());
  linphone_proxy_config_set_expires(config, 3600);
  linphone_proxy_config_enable_register(config, TRUE);
  linphone_core_add_proxy_config(core_, config);
  linphone_core_set_default_proxy_config(core_, config);
  linphone_proxy_config_unref(config);
}

void TestPhone::Iterate() {
  linphone_core_iterate(core_);
  Clock::time_point now = Clock::now();
  if (answerPending_ && now >= answerAt_) {
    answerPending_ = false;
    Answer();
  }
  if (hangupPending_ && now >= hangupAt_) {
    hangupPending_ = false;
    HangUpAll();
  }
}

void TestPhone::OnCallState(LinphoneCore* core, LinphoneCall* call, LinphoneCallState state, const char*) {
  PhoneOf(core)->HandleCallState(call, state);
}

void TestPhone::OnRegistration(LinphoneCore* core, LinphoneProxyConfig*, LinphoneRegistrationState state,
                               const char*) {
  switch (state) {
    case LinphoneRegistrationOk: PhoneOf(core)->Say("registered"); break;
    case LinphoneRegistrationFailed: PhoneOf(core)->Say("registration failed"); break;
    case LinphoneRegistrationCleared: PhoneOf(core)->Say("registration cleared"); break;
    default: break;
  }
}

void TestPhone::HandleCallState(LinphoneCall* call, LinphoneCallState state) {
  std::string line = std::string("state ") + StateName(state);
  if (state == LinphoneCallStateIncomingReceived) {
    char* from = linphone_address_as_string(linphone_call_get_remote_address(call));
    line += std::string(" ") + (from ? from : "");
    bctbx_free(from);
  }
  if (state == LinphoneCallStateEnd || state == LinphoneCallStateError)
    line += " reason " + ReasonName(linphone_call_get_reason(call));
  Say(line);
  if (state == LinphoneCallStateIncomingReceived) {
    if (!options_.autoDecline.empty()) {
      Decline(options_.autoDecline);
    } else if (options_.autoAnswerMs >= 0) {
      answerPending_ = true;
      answerAt_ = Clock::now() + std::chrono::milliseconds(options_.autoAnswerMs);
    }
  }
}

LinphoneCall* TestPhone::RingingCall() const {
  for (const bctbx_list_t* it = linphone_core_get_calls(core_); it; it = it->next) {
    auto* call = static_cast<LinphoneCall*>(it->data);
    LinphoneCallState s = linphone_call_get_state(call);
    if (s == LinphoneCallStateIncomingReceived || s == LinphoneCallStateIncomingEarlyMedia) return call;
  }
  return nullptr;
}

void TestPhone::Answer() {
  LinphoneCall* call = RingingCall();
  if (!call) {
    Say("error no incoming call");
    return;
  }
  if (linphone_call_accept(call) != 0) Say("error accept refused");
}

void TestPhone::Decline(const std::string& reason) {
  auto it = Reasons().find(reason.empty() ? "declined" : reason);
  if (it == Reasons().end()) {
    Say("error unknown reason " + reason);
    return;
  }
  LinphoneCall* call = RingingCall();
  if (!call) {
    Say("error no incoming call");
    return;
  }
  linphone_call_decline(call, it->second);
}

void TestPhone::HangUpAll() {
  linphone_core_terminate_all_calls(core_);
}

void TestPhone::Stats() {
  LinphoneCall* call = linphone_core_get_current_call(core_);
  if (!call) {
    Say("stats none");
    return;
  }
  LinphoneCallStats* stats = linphone_call_get_audio_stats(call);
  const rtp_stats_t* rtp = stats ? linphone_call_stats_get_rtp_stats(stats) : nullptr;
  std::ostringstream out;
  out << "stats recv " << (rtp ? rtp->packet_recv : 0) << " sent " << (rtp ? rtp->packet_sent : 0);
  if (stats) linphone_call_stats_unref(stats);
  Say(out.str());
}

bool TestPhone::Command(const std::string& text) {
  std::istringstream in(text);
  std::string verb, arg;
  in >> verb;
  std::getline(in >> std::ws, arg);
  auto number = [&](int fallback) { return arg.empty() ? fallback : std::atoi(arg.c_str()); };

  if (verb.empty()) return true;
  if (verb == "quit") return false;
  if (verb == "answer") {
    answerPending_ = true;
    answerAt_ = Clock::now() + std::chrono::milliseconds(number(0));
  } else if (verb == "autoanswer") {
    options_.autoAnswerMs = arg == "off" ? -1 : number(0);
    options_.autoDecline.clear();
  } else if (verb == "ring") {
    options_.autoAnswerMs = -1;
    options_.autoDecline.clear();
    answerPending_ = false;
  } else if (verb == "decline") {
    Decline(arg);
  } else if (verb == "autodecline") {
    options_.autoDecline = arg == "off" ? "" : (arg.empty() ? "declined" : arg);
    if (!options_.autoDecline.empty()) options_.autoAnswerMs = -1;
  } else if (verb == "call") {
    if (!linphone_core_invite(core_, arg.c_str())) Say("error invite refused");
  } else if (verb == "hangup") {
    hangupPending_ = true;
    hangupAt_ = Clock::now() + std::chrono::milliseconds(static_cast<int>(std::atof(arg.c_str()) * 1000));
  } else if (verb == "play") {
    options_.playFile = arg;
    linphone_core_set_play_file(core_, arg.c_str());
  } else if (verb == "hold" || verb == "resume") {
    LinphoneCall* target = nullptr;
    for (const bctbx_list_t* it = linphone_core_get_calls(core_); it; it = it->next) {
      auto* call = static_cast<LinphoneCall*>(it->data);
      LinphoneCallState s = linphone_call_get_state(call);
      if (verb == "hold" ? s == LinphoneCallStateStreamsRunning : s == LinphoneCallStatePaused) target = call;
    }
    int rc = target ? (verb == "hold" ? linphone_call_pause(target) : linphone_call_resume(target)) : -1;
    if (rc != 0) Say("error " + verb + " refused");
  } else if (verb == "stats") {
    Stats();
  } else if (verb == "calls") {
    Say("calls " + std::to_string(linphone_core_get_calls_nb(core_)));
  } else {
    Say("error unknown command " + verb);
  }
  return true;
}

void TestPhone::Say(const std::string& line) {
  std::fputs(line.c_str(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

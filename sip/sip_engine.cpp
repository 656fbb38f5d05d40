#include "sip/sip.h"

#include "command_pipe.h"
#include "config_paths.h"
#include "engine_state.h"
#include "event_bridge.h"
#include "iterate_timer.h"
#include "line_table.h"
#include "shutdown_signal.h"

#include <linphone/factory.h>
#include <linphone/logging.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace qv {

LinphoneCore* sipCore = nullptr;
std::mutex sipLock;
std::atomic<bool> terminating{false};
int pendingLine = -1;

namespace {

namespace fs = std::filesystem;

// The folder of the running executable ("" when unknown).
std::string ExecutableFolder() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.parent_path().string();
}

// A sound file shipped beside the executable, or "" when it is missing.
std::string ShippedSound(const char* name) {
  std::string path = ExecutableFolder() + "/sound/" + name;
  std::error_code ec;
  return fs::is_regular_file(path, ec) ? path : std::string();
}

void SetEngineFolders(LinphoneFactory* factory) {
  std::string base = EngineFolder();
  const std::string folder = base.empty() ? std::string(".") : base;
  // The data folder must exist, or the engine never leaves start-up.
  std::string plugins = folder + "/plugins";
  std::error_code ec;
  fs::create_directories(plugins, ec);
  std::string data = folder + "/";
  linphone_factory_set_data_dir(factory, data.c_str());
  linphone_factory_set_config_dir(factory, data.c_str());
  // The stock plugin set only adds video, and with it a second GUI
  // library; audio codecs are built in.
  linphone_factory_set_msplugins_dir(factory, plugins.c_str());
}

void Configure(LinphoneCore* core) {
  linphone_core_set_user_agent(core, "veltophone", "2.2.8");
  linphone_core_set_zrtp_secrets_file(core, nullptr);
  linphone_core_enable_video_capture(core, FALSE);
  linphone_core_enable_video_display(core, FALSE);
  linphone_core_enable_video_preview(core, FALSE);
  LinphoneVideoActivationPolicy* policy = linphone_factory_create_video_activation_policy(linphone_factory_get());
  linphone_video_activation_policy_set_automatically_initiate(policy, FALSE);
  linphone_video_activation_policy_set_automatically_accept(policy, FALSE);
  linphone_core_set_video_activation_policy(core, policy);
  linphone_video_activation_policy_unref(policy);
  linphone_core_set_playback_gain_db(core, 5.0f);

  // Any free local ports: several phones may run on one machine.
  LinphoneTransports* transports = linphone_factory_create_transports(linphone_factory_get());
  linphone_transports_set_udp_port(transports, LC_SIP_TRANSPORT_RANDOM);
  linphone_transports_set_tcp_port(transports, LC_SIP_TRANSPORT_RANDOM);
  linphone_transports_set_tls_port(transports, LC_SIP_TRANSPORT_DISABLED);
  linphone_core_set_transports(core, transports);
  linphone_transports_unref(transports);
  linphone_core_set_audio_port(core, -1);
  // Six outgoing lines and the incoming one.
  linphone_core_set_max_calls(core, kCallLines);

  std::string ring = ShippedSound("ring.wav");
  std::string ringback = ShippedSound("ringback.wav");
  linphone_core_set_ring(core, ring.empty() ? nullptr : ring.c_str());
  linphone_core_set_ringback(core, ringback.empty() ? nullptr : ringback.c_str());

  const char* files = std::getenv("QV_SIP_USE_FILES");
  if (files && *files) {
    linphone_core_set_use_files(core, TRUE);
    linphone_core_set_play_file(core, files);
  }
}

}  // namespace

int StartSipEngine() {
  ConfigFile config = ConfigFilePath();
  std::string factoryPath = FactoryFilePath();
  {
    std::lock_guard lock(sipLock);
    if (sipCore) return 0;
  }
  if (!StartCommandPipe()) return -1;

  // Silent unless QV_SIP_DEBUG asks for the engine's log on stderr.
  linphone_logging_service_set_log_level(linphone_logging_service_get(),
                                         std::getenv("QV_SIP_DEBUG") ? LinphoneLogLevelDebug : LinphoneLogLevelFatal);
  LinphoneFactory* factory = linphone_factory_get();
  SetEngineFolders(factory);

  LinphoneConfig* settings = linphone_factory_create_config_with_factory(
      factory, config.path.c_str(), factoryPath.empty() ? nullptr : factoryPath.c_str());
  // The SIP server may be on this very machine: whether the host has a route
  // to the outside world says nothing about it. The engine's own watch would
  // mark the network down on a machine without one and then never register.
  if (settings) linphone_config_set_int(settings, "sip", "auto_net_state_mon", 0);
  LinphoneCore* core = settings ? linphone_factory_create_core_with_config_3(factory, settings, nullptr) : nullptr;
  if (settings) linphone_config_unref(settings);
  if (!core) {
    ShutdownSipEngine(0);
    return -2;
  }
  LinphoneCoreCbs* callbacks = linphone_factory_create_core_cbs(factory);
  linphone_core_cbs_set_call_state_changed(callbacks, OnCallStateChanged);
  linphone_core_add_callbacks(core, callbacks);
  linphone_core_cbs_unref(callbacks);
  Configure(core);
  if (linphone_core_start(core) != 0) {
    linphone_core_unref(core);
    ShutdownSipEngine(0);
    return -2;
  }
  linphone_core_set_network_reachable(core, TRUE);
  {
    std::lock_guard lock(sipLock);
    sipCore = core;
  }
  StartIterateTimer();
  InstallShutdownSignalHandlers();
  return 0;
}

void ShutdownSipEngine(int) {
  {
    std::lock_guard lock(sipLock);
    if (sipCore) linphone_core_clear_call_logs(sipCore);
  }
  StopCommandPipe();
  StopIterateTimer();  // waits for an iteration in progress
  std::lock_guard lock(sipLock);
  if (sipCore) {
    DropStrayCalls();
    ResetLines();
    linphone_core_stop(sipCore);
    linphone_core_unref(sipCore);
    sipCore = nullptr;
    ResetLines();
  }
}

bool SipEngineRunning() {
  std::lock_guard lock(sipLock);
  return sipCore != nullptr;
}

void UseSoundFiles(const std::string& wavPath) {
  std::lock_guard lock(sipLock);
  if (!sipCore) return;
  linphone_core_set_use_files(sipCore, wavPath.empty() ? FALSE : TRUE);
  linphone_core_set_play_file(sipCore, wavPath.empty() ? nullptr : wavPath.c_str());
}

}  // namespace qv

#include "sip/sip.h"

#include "engine_state.h"
#include "storage/text.h"
#include "web/md5.h"
#include "web/service_hosts.h"

#include <linphone/factory.h>

#include <chrono>
#include <initializer_list>
#include <thread>

namespace qv {

namespace {

// How long RemoveSipAccount lets a registration or an unregistration under
// way finish (one round trip to the server on a working network).
constexpr std::chrono::seconds kSettleLimit{2};

// Runs the engine on this thread (sipLock held) until the account's
// registration state leaves `from`, or the limit has passed.
void Settle(LinphoneProxyConfig* proxy, std::initializer_list<LinphoneRegistrationState> from) {
  auto limit = std::chrono::steady_clock::now() + kSettleLimit;
  auto busy = [&] {
    LinphoneRegistrationState state = linphone_proxy_config_get_state(proxy);
    for (LinphoneRegistrationState s : from)
      if (state == s) return true;
    return false;
  };
  while (busy() && std::chrono::steady_clock::now() < limit) {
    linphone_core_iterate(sipCore);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

// "sip:" + user + "@" + domain + ":10090", at most 127 characters.
std::string SipIdentity(const std::string& user) {
  std::string identity = "sip:" + user + "@" + ServiceHost(Service::SipDomain) + ":" + std::to_string(kSipPort);
  if (identity.size() > 127) identity.resize(127);
  return identity;
}

// True when the engine's default account is `identity` and an
// authentication entry of its user holds `password` (in clear or as hash).
bool AccountStored(LinphoneCore* core, const std::string& identity, const std::string& password) {
  LinphoneProxyConfig* config = linphone_core_get_default_proxy_config(core);
  if (!config) return false;
  const LinphoneAddress* stored = linphone_proxy_config_get_identity_address(config);
  LinphoneAddress* wanted = linphone_factory_create_address(linphone_factory_get(), identity.c_str());
  if (!wanted || !stored) {
    if (wanted) linphone_address_unref(wanted);
    return false;
  }
  char* wantedText = linphone_address_as_string_uri_only(wanted);
  char* storedText = linphone_address_as_string_uri_only(stored);
  bool same = storedText && wantedText && std::string(storedText) == wantedText;
  std::string user = linphone_address_get_username(wanted) ? linphone_address_get_username(wanted) : "";
  std::string realm = linphone_address_get_domain(wanted) ? linphone_address_get_domain(wanted) : "";
  bctbx_free(wantedText);
  bctbx_free(storedText);
  linphone_address_unref(wanted);
  if (!same) return false;

  for (const bctbx_list_t* it = linphone_core_get_auth_info_list(core); it; it = it->next) {
    auto* info = static_cast<const LinphoneAuthInfo*>(it->data);
    const char* name = linphone_auth_info_get_username(info);
    if (!name || user != name) continue;
    const char* clear = linphone_auth_info_get_password(info);
    if (clear && password == clear) return true;
    const char* ha1 = linphone_auth_info_get_ha1(info);
    if (ha1 && Md5::HexOf(user + ":" + realm + ":" + password) == ha1) return true;
  }
  return false;
}

}  // namespace

void RegisterSipAccount(std::u16string_view userText, std::u16string_view passwordText, bool force) {
  ConfigFile config = ConfigFilePath();
  std::string user = ToUtf8(userText);
  std::string password = ToUtf8(passwordText);
  std::string identity = SipIdentity(user);

  std::lock_guard lock(sipLock);
  if (!sipCore) return;
  // An account kept from an earlier run stays as it is; one that is not
  // there, or differs, is written anew.
  if (!force && config.present && AccountStored(sipCore, identity, password)) return;

  LinphoneFactory* factory = linphone_factory_get();
  LinphoneAddress* address = linphone_factory_create_address(factory, identity.c_str());
  if (address) {
    const char* name = linphone_address_get_username(address);
    const char* realm = linphone_address_get_domain(address);
    LinphoneAuthInfo* info =
        linphone_factory_create_auth_info(factory, name, nullptr, password.c_str(), nullptr, realm, nullptr);
    linphone_core_add_auth_info(sipCore, info);
    linphone_auth_info_unref(info);
  }

  const bctbx_list_t* configs = linphone_core_get_proxy_config_list(sipCore);
  bool editing = configs != nullptr;
  LinphoneProxyConfig* proxy = editing ? static_cast<LinphoneProxyConfig*>(configs->data)
                                       : linphone_core_create_proxy_config(sipCore);
  if (editing) linphone_proxy_config_edit(proxy);
  bool accepted = address && linphone_proxy_config_set_server_addr(proxy, identity.c_str()) >= 0 &&
                  linphone_proxy_config_set_identity_address(proxy, address) >= 0;
  if (address) linphone_address_unref(address);
  if (!accepted) {
    // The identity was refused: an edited account goes back unchanged, a
    // new one is dropped.
    if (editing) linphone_proxy_config_done(proxy);
    else linphone_proxy_config_unref(proxy);
    return;
  }
  linphone_proxy_config_set_expires(proxy, 3600);
  linphone_proxy_config_set_dial_escape_plus(proxy, TRUE);
  linphone_proxy_config_enable_register(proxy, TRUE);
  if (editing) {
    linphone_proxy_config_done(proxy);
  } else {
    linphone_core_add_proxy_config(sipCore, proxy);
  }
  linphone_core_set_default_proxy_config(sipCore, proxy);
  if (!editing) linphone_proxy_config_unref(proxy);
}

void RemoveSipAccount() {
  std::lock_guard lock(sipLock);
  if (!sipCore) return;
  LinphoneProxyConfig* proxy = linphone_core_get_default_proxy_config(sipCore);
  if (!proxy) return;
  // Removing the account alone would leave its contact at the server, and
  // calls for this number would still ring here: unregister it first, and
  // let a registration still under way finish before.
  Settle(proxy, {LinphoneRegistrationProgress});
  if (linphone_proxy_config_get_state(proxy) == LinphoneRegistrationOk) {
    linphone_proxy_config_edit(proxy);
    linphone_proxy_config_enable_register(proxy, FALSE);
    linphone_proxy_config_done(proxy);
    Settle(proxy, {LinphoneRegistrationOk, LinphoneRegistrationProgress});
  }
  linphone_core_remove_proxy_config(sipCore, proxy);
  const bctbx_list_t* infos = linphone_core_get_auth_info_list(sipCore);
  if (infos) linphone_core_remove_auth_info(sipCore, static_cast<const LinphoneAuthInfo*>(infos->data));
}

bool SipAccountRegistered() {
  std::lock_guard lock(sipLock);
  if (!sipCore) return false;
  LinphoneProxyConfig* proxy = linphone_core_get_default_proxy_config(sipCore);
  return proxy && linphone_proxy_config_get_state(proxy) == LinphoneRegistrationOk;
}

}  // namespace qv

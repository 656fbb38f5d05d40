// Registering and removing the SIP account against the real SIP server.
#include "sip/engine_state.h"
#include "sip_engine_fixture.h"

#include <linphone/core.h>

#include <fstream>
#include <thread>

namespace {

using qvtest::SipServer;
using qvtest::WaitUntil;

size_t ProxyCount() {
  std::lock_guard lock(qv::sipLock);
  return bctbx_list_size(linphone_core_get_proxy_config_list(qv::sipCore));
}

size_t AuthCount() {
  std::lock_guard lock(qv::sipLock);
  return bctbx_list_size(linphone_core_get_auth_info_list(qv::sipCore));
}

using RegistrationTest = SipEngineTest;

TEST_F(RegistrationTest, RightPasswordRegisters) {
  RegisterMe();
  EXPECT_TRUE(WaitUntil([] { return qv::SipAccountRegistered(); }));
  EXPECT_EQ(ProxyCount(), 1u);
}

LinphoneRegistrationState RegistrationState() {
  std::lock_guard lock(qv::sipLock);
  LinphoneProxyConfig* proxy = linphone_core_get_default_proxy_config(qv::sipCore);
  return proxy ? linphone_proxy_config_get_state(proxy) : LinphoneRegistrationNone;
}

TEST_F(RegistrationTest, WrongPasswordDoesNotRegister) {
  qv::RegisterSipAccount(qv::Widen(me_), u"wrong", true);
  // The server refuses the answer to its challenge; the engine gives up.
  EXPECT_TRUE(WaitUntil([] { return RegistrationState() == LinphoneRegistrationFailed; }));
  EXPECT_FALSE(SipServer::Registered(me_));
  EXPECT_FALSE(qv::SipAccountRegistered());
}

TEST_F(RegistrationTest, ReRegistrationEditsTheAccountAndAddsCredentials) {
  std::string other = qvtest::UniqueNumber();
  ASSERT_TRUE(SipServer::AddSubscriber(other, "other-pass"));
  RegisterMe();
  size_t auths = AuthCount();
  EXPECT_EQ(auths, 1u);
  qv::RegisterSipAccount(qv::Widen(other), u"other-pass", true);
  EXPECT_TRUE(WaitUntil([&] { return SipServer::Registered(other); }));
  EXPECT_EQ(ProxyCount(), 1u);  // the one account was edited, not a second added
  EXPECT_EQ(AuthCount(), auths + 1);
  EXPECT_TRUE(WaitUntil([&] { return !SipServer::Registered(me_); }));
}

TEST_F(RegistrationTest, RemovalUnregisters) {
  RegisterMe();
  qv::RemoveSipAccount();
  EXPECT_EQ(ProxyCount(), 0u);
  EXPECT_EQ(AuthCount(), 0u);
  EXPECT_FALSE(SipServer::Registered(me_));  // unregistered before it returned
  qv::RemoveSipAccount();  // nothing left: nothing happens
  EXPECT_EQ(ProxyCount(), 0u);
}

TEST_F(RegistrationTest, RemoveThenRegisterWithANewPassword) {
  // The change of password: remove the account, register it again at once.
  RegisterMe();
  ASSERT_TRUE(SipServer::AddSubscriber(me_, "new-password"));
  qv::RemoveSipAccount();
  qv::RegisterSipAccount(qv::Widen(me_), u"new-password", true);
  EXPECT_TRUE(WaitUntil([] { return qv::SipAccountRegistered(); }));
  EXPECT_TRUE(WaitUntil([&] { return SipServer::Registered(me_); }));
  EXPECT_EQ(AuthCount(), 1u);
}

TEST_F(RegistrationTest, RegisterAgainSomeTimeAfterRemoval) {
  // The change of user: the account is removed, and the next login, seconds
  // later, registers the same number again.
  RegisterMe();
  qv::RemoveSipAccount();
  EXPECT_FALSE(SipServer::Registered(me_));
  std::this_thread::sleep_for(std::chrono::seconds(5));  // the person typing
  qv::RegisterSipAccount(qv::Widen(me_), qv::Widen(kPassword), true);
  EXPECT_TRUE(WaitUntil([] { return qv::SipAccountRegistered(); }));
  EXPECT_TRUE(WaitUntil([&] { return SipServer::Registered(me_); }));
}

TEST_F(RegistrationTest, WithoutForceAStoredAccountIsKept) {
  RegisterMe();
  // An earlier run's configuration (more than 250 bytes) holds this account.
  qv::ShutdownSipEngine();
  ASSERT_TRUE(qv::ConfigFilePath().present);
  ASSERT_EQ(qv::StartSipEngine(), 0);
  ASSERT_EQ(ProxyCount(), 1u);
  size_t auths = AuthCount();
  qv::RegisterSipAccount(qv::Widen(me_), qv::Widen(kPassword), false);
  EXPECT_EQ(AuthCount(), auths);  // nothing changed
  EXPECT_TRUE(WaitUntil([] { return qv::SipAccountRegistered(); }));
  // With force the account is written anew.
  qv::RegisterSipAccount(qv::Widen(me_), qv::Widen(kPassword), true);
  EXPECT_EQ(ProxyCount(), 1u);
}

TEST_F(RegistrationTest, WithoutForceAMissingAccountIsStillRegistered) {
  // The configuration is present but holds no account (removed at a change
  // of user, say): the login must still register.
  RegisterMe();
  qv::RemoveSipAccount();
  qv::ShutdownSipEngine();
  ASSERT_TRUE(qv::ConfigFilePath().present);
  ASSERT_EQ(qv::StartSipEngine(), 0);
  ASSERT_EQ(ProxyCount(), 0u);
  qv::RegisterSipAccount(qv::Widen(me_), qv::Widen(kPassword), false);
  EXPECT_EQ(ProxyCount(), 1u);
  EXPECT_TRUE(WaitUntil([&] { return SipServer::Registered(me_); }));
}

TEST_F(RegistrationTest, RemovalWhileRegisteringStillUnregisters) {
  qv::RegisterSipAccount(qv::Widen(me_), qv::Widen(kPassword), true);
  qv::RemoveSipAccount();  // the register is still under way
  EXPECT_EQ(ProxyCount(), 0u);
  EXPECT_FALSE(SipServer::Registered(me_));
}

TEST_F(RegistrationTest, AnUnusableUserNameRegistersNothing) {
  qv::RegisterSipAccount(u"bad user<>@x", u"pw", true);
  EXPECT_EQ(ProxyCount(), 0u);
}

}  // namespace

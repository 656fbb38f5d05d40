// Start-up and shutdown of the engine, the command pipe guard and the
// shutdown signals, without a SIP server.
#include "sip/command_pipe.h"
#include "sip/sip.h"
#include "sip_test_support.h"

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

extern char** environ;

namespace {

using qvtest::TempHome;

// Runs the helper program; returns its exit code (-1 when it did not exit).
int RunHelper(const char* mode) {
  const char* argv[] = {QV_SIP_TEST_HELPER_PATH, mode, nullptr};
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, const_cast<char**>(argv), environ) != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// Connects to an abstract-namespace stream socket; -1 when nobody serves it.
int ConnectTo(const std::string& name) {
  int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::memcpy(addr.sun_path + 1, name.data(), name.size());
  socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), length) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

TEST(CommandPipe, NameFollowsUser) {
  TempHome home;
  setenv("USER", "alice", 1);
  EXPECT_EQ(qv::CommandPipeName(), "veltophone-alice");
  unsetenv("USER");
  EXPECT_EQ(qv::CommandPipeName(), "veltophone");
}

TEST(CommandPipe, SecondProcessOfTheSameUserIsRefused) {
  TempHome home;
  ASSERT_EQ(qv::StartSipEngine(), 0);
  EXPECT_EQ(RunHelper("start"), 10 - 1);
  // The first one goes on unaffected and still serves the pipe.
  EXPECT_TRUE(qv::SipEngineRunning());
  EXPECT_EQ(RunHelper("start"), 10 - 1);
  // Another user gets an instance of its own.
  std::string user = std::getenv("USER");
  setenv("USER", (user + "-other").c_str(), 1);
  EXPECT_EQ(RunHelper("start"), 10 + 0);
  setenv("USER", user.c_str(), 1);
  qv::ShutdownSipEngine();
  // Once the first has ended, the next start is allowed.
  EXPECT_EQ(RunHelper("start"), 10 + 0);
}

TEST(CommandPipe, ClientGetsNoAnswerAndSilentClientDoesNotBlockStop) {
  TempHome home;
  ASSERT_TRUE(qv::StartCommandPipe());
  int client = ConnectTo(qv::CommandPipeName());
  ASSERT_GE(client, 0);
  char zeros[256] = {};
  ASSERT_EQ(write(client, zeros, sizeof zeros), 256);
  char reply[16];
  EXPECT_EQ(read(client, reply, sizeof reply), 0);  // dropped, no answer
  close(client);

  // A client that connects and says nothing must not keep the stop waiting.
  int silent = ConnectTo(qv::CommandPipeName());
  ASSERT_GE(silent, 0);
  qv::StopCommandPipe();
  close(silent);
  EXPECT_LT(ConnectTo(qv::CommandPipeName()), 0);
  qv::StopCommandPipe();  // no server end: returns at once
}

TEST(EngineLifecycle, StartCreatesFoldersAndShutdownTwiceIsHarmless) {
  TempHome home;
  ASSERT_EQ(qv::StartSipEngine(), 0);
  EXPECT_EQ(qv::StartSipEngine(), 0);  // already running
  EXPECT_TRUE(qv::SipEngineRunning());
  EXPECT_TRUE(std::filesystem::is_directory(home.Path() + "/config/Linphone/plugins"));
  qv::ShutdownSipEngine();
  EXPECT_FALSE(qv::SipEngineRunning());
  qv::ShutdownSipEngine();
  EXPECT_FALSE(qv::SipEngineRunning());
  // The engine wrote its configuration where ConfigFilePath said.
  EXPECT_TRUE(std::filesystem::exists(home.Path() + "/config/Linphone/veltophonerc"));
  // Operations after shutdown do nothing.
  EXPECT_FALSE(qv::InviteOnLine(0, u"13800000000"));
  qv::TerminateLine(0);
  qv::AcceptIncomingCall();
  EXPECT_FALSE(qv::ResumeLine(0));
  EXPECT_EQ(qv::LineStatus(0), u"");
}

TEST(EngineLifecycle, ShutdownWhileIterating) {
  TempHome home;
  // Shut down at once and after a few ticks, so that the shutdown meets an
  // iteration in progress; it waits for it and destroys the engine after.
  for (int i = 0; i < 6; ++i) {
    ASSERT_EQ(qv::StartSipEngine(), 0);
    if (i % 2) std::this_thread::sleep_for(std::chrono::milliseconds(23 * i));
    qv::ShutdownSipEngine();
    EXPECT_FALSE(qv::SipEngineRunning());
  }
}

TEST(EngineLifecycle, SignalIsOnlyNotedAndTheLoopShutsDown) {
  TempHome home;
  EXPECT_EQ(RunHelper("signal"), 0);
}

TEST(EngineLifecycle, LineTableEdges) {
  for (int bad : {-1, 7, 100}) {
    EXPECT_EQ(qv::LineStatus(bad), u"");
    EXPECT_FALSE(qv::LineHasCall(bad));
    qv::ClearLineStatus(bad);
    qv::ClearLineCall(bad);
    qv::TerminateLine(bad);
  }
  EXPECT_FALSE(qv::ClearLineStatusIf(0, u"Call ended"));
}

}  // namespace

// Test support for the SIP tests: the running SIP server (found through its
// process), subscribers in its database, test phone processes, and waiting
// for conditions.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qvtest {

using namespace std::chrono_literals;

// Polls `condition` every 10 ms until it holds or `limit` has passed.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = 20s);

// The kamailio started by scripts/kamailio (by the ctest fixture or by hand),
// found from its command line; its runtime folder holds the database and
// the control socket.
class SipServer {
 public:
  // "" when no such server runs.
  static std::string RunDir();
  // Adds (or replaces) a subscriber; false on a database error.
  static bool AddSubscriber(const std::string& number, const std::string& password);
  // True when kamailio's location table holds a contact for `number`.
  static bool Registered(const std::string& number);
};

// A number no other test (or process) uses: "139" + 8 digits.
std::string UniqueNumber();

// A qv-testphone process: commands go to its stdin, its stdout lines are
// collected.
class TestPhoneProcess {
 public:
  TestPhoneProcess(const std::string& number, const std::string& password, std::vector<std::string> extraArgs = {});
  ~TestPhoneProcess();
  TestPhoneProcess(const TestPhoneProcess&) = delete;
  TestPhoneProcess& operator=(const TestPhoneProcess&) = delete;

  bool Started() const { return pid_ > 0; }
  void Send(const std::string& command);
  // Waits for a line containing `text` after the last line matched so far;
  // moves past it. Returns the line, or "" when none came in time.
  std::string WaitFor(const std::string& text, std::chrono::milliseconds limit = 20s);
  // True when any line so far contains `text`.
  bool Seen(const std::string& text);
  std::string Transcript();

 private:
  void ReadLoop();

  int pid_ = -1;
  int in_ = -1;
  int out_ = -1;
  std::thread reader_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::string> lines_;
  size_t cursor_ = 0;
  bool closed_ = false;
};

// A temporary folder that becomes HOME, XDG_CONFIG_HOME and the current
// directory, with USER set to a value of its own (so that the command pipe
// is private to the test); everything is restored and removed at the end.
class TempHome {
 public:
  TempHome();
  ~TempHome();
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  std::string oldCwd_;
  std::vector<std::pair<std::string, std::string>> saved_;
};

}  // namespace qvtest

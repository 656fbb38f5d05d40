#include "sip_test_support.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

extern char** environ;

namespace qvtest {

namespace {

std::vector<std::string> CommandLine(const std::string& pid) {
  std::ifstream in("/proc/" + pid + "/cmdline", std::ios::binary);
  std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> args;
  size_t start = 0;
  for (size_t i = 0; i < all.size(); ++i) {
    if (all[i] == '\0') {
      args.push_back(all.substr(start, i - start));
      start = i + 1;
    }
  }
  return args;
}

std::string RunCommand(const std::string& command) {
  std::string output;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return output;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) output.append(buf, n);
  pclose(p);
  return output;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  auto end = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

std::string SipServer::RunDir() {
  DIR* proc = opendir("/proc");
  if (!proc) return {};
  std::string found;
  while (dirent* entry = readdir(proc)) {
    std::string pid = entry->d_name;
    if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
    std::vector<std::string> args = CommandLine(pid);
    if (args.empty() || args[0].find("kamailio") == std::string::npos) continue;
    std::string config, run;
    for (size_t i = 0; i + 1 < args.size(); ++i) {
      if (args[i] == "-f") config = args[i + 1];
      if (args[i] == "-Y") run = args[i + 1];
    }
    if (config.size() >= 24 && config.ends_with("service/sip/kamailio.cfg") && !run.empty()) {
      // Several checkouts may run a server each (only one can own the port);
      // the one started from this source tree wins.
      if (config == std::string(QV_SOURCE_DIR) + "/service/sip/kamailio.cfg") {
        found = run;
        break;
      }
      if (found.empty()) found = run;
    }
  }
  closedir(proc);
  return found;
}

bool SipServer::AddSubscriber(const std::string& number, const std::string& password) {
  std::string dir = RunDir();
  if (dir.empty()) return false;
  sqlite3* db = nullptr;
  if (sqlite3_open((dir + "/veltophone.sqlite").c_str(), &db) != SQLITE_OK) {
    sqlite3_close(db);
    return false;
  }
  sqlite3_busy_timeout(db, 10000);
  sqlite3_stmt* st = nullptr;
  bool ok = sqlite3_prepare_v2(db,
                               "INSERT OR REPLACE INTO subscriber (username, domain, password, ha1, ha1b) "
                               "VALUES (?, '127.0.0.1', ?, '', '')",
                               -1, &st, nullptr) == SQLITE_OK;
  if (ok) {
    sqlite3_bind_text(st, 1, number.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 2, password.c_str(), -1, SQLITE_TRANSIENT);
    ok = sqlite3_step(st) == SQLITE_DONE;
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  return ok;
}

bool SipServer::Registered(const std::string& number) {
  std::string dir = RunDir();
  if (dir.empty()) return false;
  std::string out = RunCommand("kamcmd -s unix:" + dir + "/kamailio_ctl ul.lookup location " + number +
                               "@127.0.0.1 2>&1");
  return out.find("AoR: " + number) != std::string::npos;
}

std::string UniqueNumber() {
  static std::atomic<int> counter{0};
  long long value = (static_cast<long long>(getpid()) * 100 + counter++) % 100000000LL;
  char buf[16];
  std::snprintf(buf, sizeof buf, "139%08lld", value);
  return buf;
}

TestPhoneProcess::TestPhoneProcess(const std::string& number, const std::string& password,
                                   std::vector<std::string> extraArgs) {
  int toChild[2], fromChild[2];
  if (pipe2(toChild, O_CLOEXEC) != 0) return;
  if (pipe2(fromChild, O_CLOEXEC) != 0) {
    close(toChild[0]);
    close(toChild[1]);
    return;
  }
  std::vector<std::string> args = {QV_TESTPHONE_PATH, "--user", number, "--password", password};
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, toChild[0], 0);
  posix_spawn_file_actions_adddup2(&actions, fromChild[1], 1);
  pid_t pid = -1;
  if (posix_spawn(&pid, args[0].c_str(), &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(toChild[0]);
  close(fromChild[1]);
  pid_ = pid;
  in_ = toChild[1];
  out_ = fromChild[0];
  reader_ = std::thread([this] { ReadLoop(); });
}

TestPhoneProcess::~TestPhoneProcess() {
  if (in_ >= 0) {
    Send("quit");
    close(in_);
  }
  if (pid_ > 0) {
    int status = 0;
    auto end = std::chrono::steady_clock::now() + 10s;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > end) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        break;
      }
      std::this_thread::sleep_for(10ms);
    }
  }
  if (reader_.joinable()) reader_.join();
  if (out_ >= 0) close(out_);
}

void TestPhoneProcess::Send(const std::string& command) {
  std::string line = command + "\n";
  ssize_t ignored = write(in_, line.data(), line.size());
  (void)ignored;
}

void TestPhoneProcess::ReadLoop() {
  std::string pending;
  char buf[1024];
  for (;;) {
    ssize_t n = read(out_, buf, sizeof buf);
    if (n <= 0) break;
    pending.append(buf, static_cast<size_t>(n));
    size_t pos;
    while ((pos = pending.find('\n')) != std::string::npos) {
      std::lock_guard lock(mutex_);
      lines_.push_back(pending.substr(0, pos));
      pending.erase(0, pos + 1);
      changed_.notify_all();
    }
  }
  std::lock_guard lock(mutex_);
  closed_ = true;
  changed_.notify_all();
}

std::string TestPhoneProcess::WaitFor(const std::string& text, std::chrono::milliseconds limit) {
  std::unique_lock lock(mutex_);
  auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    for (; cursor_ < lines_.size(); ++cursor_) {
      if (lines_[cursor_].find(text) != std::string::npos) return lines_[cursor_++];
    }
    if (closed_) return {};
    if (changed_.wait_until(lock, end) == std::cv_status::timeout) return {};
  }
}

bool TestPhoneProcess::Seen(const std::string& text) {
  std::lock_guard lock(mutex_);
  for (const auto& line : lines_)
    if (line.find(text) != std::string::npos) return true;
  return false;
}

std::string TestPhoneProcess::Transcript() {
  std::lock_guard lock(mutex_);
  std::string all;
  for (const auto& line : lines_) all += line + "\n";
  return all;
}

TempHome::TempHome() {
  char pattern[] = "/tmp/qv-sip-test.XXXXXX";
  path_ = mkdtemp(pattern) ? pattern : "/tmp";
  char cwd[4096];
  oldCwd_ = getcwd(cwd, sizeof cwd) ? cwd : "/";
  for (const char* name : {"HOME", "XDG_CONFIG_HOME", "USER"}) {
    const char* value = std::getenv(name);
    saved_.emplace_back(name, value ? value : std::string("\x01"));
  }
  setenv("HOME", path_.c_str(), 1);
  setenv("XDG_CONFIG_HOME", (path_ + "/config").c_str(), 1);
  setenv("USER", ("qvtest-" + std::to_string(getpid())).c_str(), 1);
  if (chdir(path_.c_str()) != 0) std::perror("chdir");
}

TempHome::~TempHome() {
  if (chdir(oldCwd_.c_str()) != 0) std::perror("chdir");
  for (const auto& [name, value] : saved_) {
    if (value == "\x01") unsetenv(name.c_str());
    else setenv(name.c_str(), value.c_str(), 1);
  }
  std::error_code ec;
  if (path_ != "/tmp") std::filesystem::remove_all(path_, ec);
}

}  // namespace qvtest

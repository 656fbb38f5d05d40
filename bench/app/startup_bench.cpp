// Whole-process figures of the phone under an X display (run it inside
// scripts/with-display, with the stack started for the login figure):
//   start-up   process start -> login window painted (its header shows the
//              accent colour), beside the same figure for a minimal Qt window
//   login      click on "登  录" -> main window painted
// Each figure is the median of several runs, with min and max.
//
//   bench_app_startup [runs]
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr unsigned long kAccent = 0x1f6feb;

double Ms(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

std::string WindowTitle(Display* d, Window w) {
  Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
  Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
  Atom type;
  int format;
  unsigned long n, after;
  unsigned char* data = nullptr;
  std::string title;
  if (XGetWindowProperty(d, w, netName, 0, 256, False, utf8, &type, &format, &n, &after, &data) == Success && data) {
    title.assign(reinterpret_cast<char*>(data), n);
    XFree(data);
  }
  return title;
}

// A mapped top-level window with that title whose pixel (x, y) shows the
// accent colour; 0 when there is none yet.
Window PaintedWindow(Display* d, const std::string& title, int x, int y) {
  Window root = DefaultRootWindow(d), parent, *children = nullptr;
  unsigned int count = 0;
  Window found = 0;
  if (!XQueryTree(d, root, &root, &parent, &children, &count)) return 0;
  for (unsigned int i = 0; i < count && !found; ++i) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, children[i], &a) || a.map_state != IsViewable) continue;
    if (WindowTitle(d, children[i]) != title) continue;
    XImage* image = XGetImage(d, children[i], x, y, 1, 1, AllPlanes, ZPixmap);
    if (image) {
      if ((XGetPixel(image, 0, 0) & 0xffffff) == kAccent) found = children[i];
      XDestroyImage(image);
    }
  }
  if (children) XFree(children);
  return found;
}

Window WaitPainted(Display* d, const std::string& title, int x, int y, double limitMs) {
  const auto start = Clock::now();
  while (Ms(start, Clock::now()) < limitMs) {
    if (Window w = PaintedWindow(d, title, x, y)) return w;
    usleep(2000);
  }
  return 0;
}

pid_t Spawn(const std::vector<std::string>& args, const std::string& cwd) {
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(cwd.c_str()) != 0) _exit(127);
    execve(argv[0], argv.data(), environ);
    _exit(127);
  }
  return pid;
}

void Stop(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  for (int i = 0; i < 500; ++i) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) return;
    usleep(10000);
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

void Xdotool(const std::string& args) {
  std::string cmd = "xdotool " + args + " >/dev/null 2>&1";
  if (system(cmd.c_str()) != 0) std::fprintf(stderr, "xdotool %s failed\n", args.c_str());
}

void Report(const char* what, std::vector<double> v) {
  if (v.empty()) {
    std::printf("%-44s no result\n", what);
    return;
  }
  std::sort(v.begin(), v.end());
  std::printf("%-44s median %7.1f ms  min %7.1f  max %7.1f  (%zu runs)\n", what, v[v.size() / 2], v.front(),
              v.back(), v.size());
}

bool StackUp() { return system("curl -s -m 2 -o /dev/null http://127.0.0.1:8909/control/health") == 0; }

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    std::fprintf(stderr, "no X display: run inside scripts/with-display\n");
    return 1;
  }
  const std::filesystem::path bin = std::filesystem::canonical("/proc/self/exe").parent_path();
  const std::string work = std::filesystem::temp_directory_path() / ("qv-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(work);
  setenv("XDG_CONFIG_HOME", (work + "/config").c_str(), 1);
  setenv("USER", ("bench-" + std::to_string(getpid())).c_str(), 1);
  setenv("QV_SIP_USE_FILES", (bin / "sound/ringback.wav").c_str(), 1);
  const bool stack = StackUp();

  std::vector<double> minimal, startup, login;
  for (int i = 0; i < runs; ++i) {
    auto t0 = Clock::now();
    pid_t pid = Spawn({(bin / "bench_minimal_qt_window").string()}, work);
    if (WaitPainted(d, "登录", 20, 150, 20000)) minimal.push_back(Ms(t0, Clock::now()));
    Stop(pid);

    std::filesystem::remove_all(work + "/QVPhone");
    t0 = Clock::now();
    pid = Spawn({(bin / "veltophone").string()}, work);
    Window loginWin = WaitPainted(d, "登录", 20, 150, 20000);
    if (loginWin) startup.push_back(Ms(t0, Clock::now()));
    if (loginWin && stack) {
      // The boxes and the button, where the login skin puts them.
      XWindowAttributes a;
      XGetWindowAttributes(d, loginWin, &a);
      int x, y;
      Window child;
      XTranslateCoordinates(d, loginWin, DefaultRootWindow(d), 0, 0, &x, &y, &child);
      auto at = [&](int cx, int cy) { return std::to_string(x + cx) + " " + std::to_string(y + cy); };
      Xdotool("mousemove --sync " + at(160, 225) + " click 1 type --delay 5 13800000001");
      Xdotool("mousemove --sync " + at(160, 277) + " click 1 type --delay 5 123456");
      Xdotool("mousemove --sync " + at(150, 364));
      t0 = Clock::now();
      Xdotool("click 1");
      if (WaitPainted(d, "Velto网络电话", 20, 80, 20000)) login.push_back(Ms(t0, Clock::now()));
    }
    Stop(pid);
  }
  Report("minimal Qt window: start -> painted", minimal);
  Report("veltophone: start -> login window painted", startup);
  if (stack) {
    Report("veltophone: login click -> main window painted", login);
  } else {
    std::printf("login figure skipped: the test stack is not running (scripts/stack start --test)\n");
  }
  std::filesystem::remove_all(work);
  XCloseDisplay(d);
  return 0;
}

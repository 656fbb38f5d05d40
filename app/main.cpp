// The phone's entry point: the SIP engine first (it also refuses a second
// instance for the same user), then the toolkit, the main window object
// without a window, the login window, and the message loop.
#include <poll.h>
#include <unistd.h>

#include <cstdio>

#include <thread>

#include "app/start_up.h"
#include "sip/sip.h"
#include "ui/login/login_win.h"
#include "ui/main/qvui.h"
#include "ui/main/window_keeper.h"
#include "ui/toolkit/paint_manager.h"
#include "ui/toolkit/platform.h"
#include "ui/toolkit/shell.h"

namespace {

// SIGINT and SIGTERM are only noted by the engine's handlers; this thread
// waits for the note and lets the user-interface thread shut down.
void WatchShutdownSignal() {
  const int fd = qv::ShutdownSignalFd();
  if (fd < 0) return;
  std::thread([fd] {
    pollfd watch{fd, POLLIN, 0};
    while (poll(&watch, 1, -1) < 0 || (watch.revents & POLLIN) == 0) {
      if (watch.revents & (POLLNVAL | POLLERR)) return;
    }
    tk::PostToUiThread([] {
      qv::ShutdownSipEngine(qv::PendingShutdownSignal());
      tk::PostQuitMessage(0);
    });
  }).detach();
}

}  // namespace

int main() {
  // 1. The engine; a second instance for this user ends here, silently.
  if (qv::StartSipEngine() != 0) return 0;
  // 2. The toolkit, with message boxes and sounds routed to it.
  InstallDesktopPlatform();
  tk::InstallStorageHooks();
  tk::CPaintManagerUI::SetInstance(nullptr);
  // 3. The main window object, without a window yet.
  theMainWindow = KeepUntilExit(new QVUI());
  // 4. The login window, centred.
  if (LoginWin::Open(theMainWindow.load(), false) == nullptr) {
    qv::ShutdownSipEngine(0);
    return 0;
  }
  WatchShutdownSignal();
  // 5. The message loop, until "退出", the login window's close button or a signal.
  tk::CPaintManagerUI::MessageLoop();
  qv::ShutdownSipEngine(0);
  // Request threads are never waited for and may still be inside the
  // toolkit: end without running static destructors under their feet.
  std::fflush(nullptr);
  _exit(0);
}

// qv-gallery: shows the gallery window with the Qt backend and writes every
// notification to stdout, one line each (for the accessibility tests, and
// for looking at the controls by hand: scripts/with-display bin/qv-gallery).
//   qv-gallery [--tray]    --tray also puts an icon in the tray
#include <cstdio>
#include <cstring>

#include "gallery_window.h"
#include "ui/toolkit/qt/qt_backend.h"

int main(int argc, char** argv) {
  bool tray = argc > 1 && std::strcmp(argv[1], "--tray") == 0;
  tk::qt::InstallQtPlatform();
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  auto* window = new gallery::GalleryWindow;
  window->log = [](const std::string& line) { std::printf("%s\n", line.c_str()); };
  window->quitOnClose = true;
  if (!window->Create(nullptr, u"控件样例", tk::WS_OVERLAPPEDWINDOW | tk::WS_VISIBLE, 0, 40, 40, 300, 550)) {
    std::fprintf(stderr, "qv-gallery: no window\n");
    return 1;
  }
  if (!window->GetSkinError().empty()) {
    std::fprintf(stderr, "qv-gallery: the skin could not be built\n");
    return 1;
  }
  if (tray) {
    tk::NOTIFYICONDATAW data;
    data.hWnd = window->GetHWND();
    data.uID = 2024;
    data.uFlags = tk::NIF_MESSAGE | tk::NIF_ICON | tk::NIF_TIP;
    data.uCallbackMessage = tk::WM_USER + 1;
    data.szTip = u"控件样例";
    tk::Shell_NotifyIcon(tk::NIM_ADD, &data);
  }
  std::printf("ready\n");
  const int code = tk::CPaintManagerUI::MessageLoop();
  std::printf("quit %d\n", code);
  window->DestroyWindow();
  delete window;
  return code;
}

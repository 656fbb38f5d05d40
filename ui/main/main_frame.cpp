// QVUI: window messages, title-bar buttons, the tray icon and its menu,
// and the exit confirmation.
#include "sip/sip.h"
#include "ui/main/qvui.h"
#include "ui/toolkit/paint_manager.h"
#include "web/service_hosts.h"

namespace {

std::u16string SiteUrl(std::string_view path) {
  std::string url = qv::ServiceBase(qv::Service::Site) + std::string(path);
  return std::u16string(url.begin(), url.end());
}

}  // namespace

tk::LRESULT QVUI::HandleMessage(tk::UINT uMsg, tk::WPARAM wParam, tk::LPARAM lParam) {
  switch (uMsg) {
    case tk::WM_ACTIVATE:
    case tk::WM_NCLBUTTONDBLCLK:
      return 0;
    case tk::WM_KEYDOWN:
      if (wParam >= 8 && wParam <= 105) KeyboardDial(static_cast<tk::UINT>(wParam));
      return 0;
    case kTrayMessage:
      if (wParam == kTrayIconId) {
        if (lParam == tk::WM_LBUTTONDOWN) {
          TrayLeftClick();
        } else if (lParam == tk::WM_RBUTTONDOWN) {
          // Run outside the tray icon's own event: choosing "退出" removes
          // the icon, which must not happen while it is still dispatching.
          PostCall([this] { TrayMenu(); });
        }
      }
      return 0;
    default:
      return tk::WindowImplBase::HandleMessage(uMsg, wParam, lParam);
  }
}

void QVUI::TrayLeftClick() {
  if (windowShown) {
    if (tk::IsIconic(mainHwnd)) {
      tk::ShowWindow(mainHwnd, tk::SW_SHOWNORMAL);
    } else {
      tk::ShowWindow(mainHwnd, tk::SW_HIDE);
      windowShown = false;
    }
  } else {
    tk::ShowWindow(mainHwnd, tk::SW_SHOW);
    tk::SetForegroundWindow(mainHwnd);
    windowShown = true;
  }
}

void QVUI::TrayMenu() {
  tk::PopupMenu menu;
  menu.AppendMenu(tk::MF_STRING, kMenuSettings, u"设置菜单");
  menu.AppendMenu(tk::MF_STRING, kMenuWebSite, u"Velto官方网");
  menu.AppendMenu(tk::MF_STRING, kMenuExit, u"退出");
  const tk::Point cursor = tk::GetCursorPos();
  tk::SetForegroundWindow(mainHwnd);
  const tk::UINT command = menu.Track(mainHwnd, cursor, tk::TPM_BOTTOMALIGN | tk::TPM_RETURNCMD);
  switch (command) {
    case kMenuWebSite:
      tk::ShellOpen(SiteUrl("/"));
      break;
    case kMenuExit:
      ConfirmExit();
      break;
    case kMenuSettings:
      OpenAccountCentre(u"");
      break;
    default:
      break;
  }
}

void QVUI::ConfirmExit() {
  const int answer = tk::MessageBox(mainHwnd, u"你确定要退出Velto网络电话软件吗？", u"提示", tk::MB_YESNO);
  if (answer != tk::IDYES) return;
  tk::Shell_NotifyIcon(tk::NIM_DELETE, &trayIcon);
  qv::ShutdownSipEngine(0);
  if (callTimerContainer != nullptr) m_PaintManager.KillTimer(callTimerContainer);
  tk::PostQuitMessage(0);
}

void QVUI::HandleTitleButton(tk::TNotifyUI& msg) {
  if (msg.sType != tk::kNotifyClick || msg.pSender == nullptr) return;
  const std::u16string& name = msg.pSender->GetName();
  if (name == u"closebtn") {
    tk::ShowWindow(mainHwnd, tk::SW_HIDE);
    windowShown = false;
  } else {
    HandleSizeButton(name);
  }
}

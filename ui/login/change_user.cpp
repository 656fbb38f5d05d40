// QVUI::ChangeUser: log out and show a new login window. It lives beside
// the login window because it ends in one.
#include "sip/sip.h"
#include "ui/login/login_win.h"
#include "ui/main/qvui.h"
#include "ui/toolkit/paint_manager.h"
#include "ui/toolkit/shell.h"

void QVUI::ChangeUser(std::u16string_view) {
  // One option per active call line: a call is in progress.
  callingOptions = m_PaintManager.GetOptionGroup(u"callingoption");
  if (callingOptions != nullptr && !callingOptions->empty()) {
    tk::MessageBox(nullptr, u"正在通话中，无法切换", u"提示", tk::MB_OK);
    return;
  }
  qv::RemoveSipAccount();
  LoginWin::Open(nullptr, true);
  tk::Shell_NotifyIcon(tk::NIM_DELETE, &trayIcon);
  theMainWindow = nullptr;
  Close(1);
}

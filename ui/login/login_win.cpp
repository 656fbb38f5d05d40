// LoginWin: the window, its controls and its notifications.
#include "ui/login/login_win.h"

#include <thread>

#include "sip/sip.h"
#include "storage/config.h"
#include "storage/hooks.h"
#include "ui/main/qvui.h"
#include "ui/main/window_keeper.h"
#include "ui/toolkit/paint_manager.h"
#include "ui/toolkit/shell.h"
#include "web/reply_field.h"
#include "web/service_hosts.h"

LoginWin::LoginWin() = default;
LoginWin::~LoginWin() = default;

std::u16string LoginWin::GetWindowClassName() const { return u"LoginWin"; }
std::u16string LoginWin::GetSkinFolder() { return u"Skins/"; }
std::u16string LoginWin::GetSkinFile() { return u"LoginWin.xml"; }
void LoginWin::OnFinalMessage(tk::HWND) {}
const char16_t* LoginWin::GetItemText(tk::CControlUI*, int, int) { return nullptr; }

LoginWin* LoginWin::Open(QVUI* main, bool changed) {
  // Kept even when the window cannot be made: its threads may hold it.
  auto* login = KeepUntilExit(new LoginWin());
  if (login->Create(nullptr, u"登录", tk::WS_VISIBLE | tk::WS_OVERLAPPEDWINDOW, 0, 0, 0, 300, 550) == nullptr) {
    return nullptr;
  }
  if (!login->GetSkinError().empty()) {
    // Without its skin the window would be an empty frame that nothing can
    // close: say so and end, as the close button would.
    tk::MessageBox(nullptr, u"程序运行错误，请联系客服反馈", u"错误", tk::MB_OK);
    login->DestroyWindow();
    qv::ShutdownSipEngine(0);
    tk::PostQuitMessage(0);
    return nullptr;
  }
  login->mainWindow = main;
  login->userChanged = login->userChanged || changed;
  login->CenterWindow();
  login->ShowWindow(tk::SW_SHOW);
  login->SetForeground();
  return login;
}

tk::LRESULT LoginWin::HandleMessage(tk::UINT uMsg, tk::WPARAM wParam, tk::LPARAM lParam) {
  if (uMsg == tk::WM_NCLBUTTONDBLCLK) return 0;
  return tk::WindowImplBase::HandleMessage(uMsg, wParam, lParam);
}

void LoginWin::InitWindow() {
  tk::CPaintManagerUI& pm = m_PaintManager;
  if (tk::CControlUI* title = pm.FindControl(u"mainTitle")) title->SetText(kTitleText);
  qv::CreateDataFolder();

  loginButton = pm.FindControl(u"login_btn");
  registerButton = pm.FindControl(u"registerBtn");
  confirmBox = pm.FindControl(u"ContainerPwd2");
  userEdit = pm.FindControl(u"user");
  passwordEdit = pm.FindControl(u"password");
  password2Edit = pm.FindControl(u"password2");
  if (confirmBox != nullptr) confirmBox->SetVisible(false);

  const std::u16string config = qv::ReadConfig();
  if (userEdit != nullptr && !config.empty()) {
    userEdit->SetText(qv::ReplyField(config, u"user", u',', u'='));
    if (passwordEdit != nullptr) {
      const std::u16string pwd = qv::ReplyField(config, u"pwd", u',', u'=');
      if (!pwd.empty()) {
        if (auto* check = dynamic_cast<tk::CCheckBoxUI*>(pm.FindControl(u"check_pwd"))) check->SetCheck(true);
      }
      passwordEdit->SetText(pwd);
    }
  }

  std::thread(UpdateNoticeThread, this).detach();
  if (userEdit != nullptr) pm.SetTimer(userEdit, kStartTimerId, 1000);
}

void LoginWin::Notify(tk::TNotifyUI& msg) {
  if (msg.pSender == nullptr) return;
  const std::u16string& name = msg.pSender->GetName();
  if (msg.sType == tk::kNotifyClick) {
    if (name == u"closebtn") {
      // Closing the login window ends the process.
      qv::ShutdownSipEngine(0);
      tk::PostQuitMessage(0);
    } else if (HandleSizeButton(name)) {
      // minimise, maximise or restore
    } else if (name == u"reset_password") {
      OpenPasswordRetrieval();
    } else if (name == u"registerBtn") {
      if (viewMode == u"1") {
        ShowRegisterView();
      } else {
        Register();
      }
    } else if (name == u"login_btn") {
      if (viewMode == u"1") {
        LoginClick();
      } else {
        ShowLoginView();
      }
    }
  } else if (msg.sType == tk::kNotifyTimer && name == u"user") {
    TimerTick();
  } else if (msg.sType == tk::kNotifyReturn && (name == u"user" || name == u"password")) {
    // Return in a box of the login view does what the login button does.
    if (viewMode == u"1" && loginButton != nullptr && loginButton->IsEnabled()) LoginClick();
  }
}

void LoginWin::EnableLoginButton() {
  if (loginButton != nullptr) loginButton->SetEnabled(true);
}

void LoginWin::TimerTick() {
  if (loginSucceeded) {
    loginSucceeded = false;
    FinishLogin();
    if (userEdit != nullptr) m_PaintManager.KillTimer(userEdit);
  } else if (updateWanted.exchange(false)) {
    std::string site = qv::ServiceBase(qv::Service::Site) + "/";
    tk::ShellOpen(std::u16string(site.begin(), site.end()));
    qv::ShutdownSipEngine(0);
    tk::PostQuitMessage(0);
  }
}

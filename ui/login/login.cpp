// LoginWin: the login attempt, its thread and the hand-over to the main
// window.
#include <thread>

#include "sip/sip.h"
#include "storage/config.h"
#include "storage/hooks.h"
#include "ui/login/login_win.h"
#include "ui/main/qvui.h"
#include "ui/main/window_keeper.h"
#include "ui/toolkit/paint_manager.h"
#include "ui/toolkit/shell.h"
#include "web/http_get.h"
#include "web/reply_field.h"
#include "web/service_hosts.h"
#include "web/sign.h"
#include "web/url.h"

std::string LoginUrl(std::u16string_view phone, std::u16string_view scrambledPassword, std::u16string_view sign) {
  return qv::BuildUrl(qv::ServiceBase(qv::Service::Api), "/reg",
                      {{"phone", phone},
                       {"pwd", scrambledPassword},
                       {"agent_id", u"-1"},
                       {"sign", sign},
                       {"pv", u"pc"},
                       {"v", u"1.2"}});
}

std::u16string_view LoginResultMessage(std::u16string_view result) {
  if (result == u"0") return {};
  if (result == u"-3") return u"手机号码错误";
  if (result == u"-2") return u"密码错误";
  if (result == u"-1") return u"登录失败";
  return u"未知错误";
}

void LoginWin::LoginClick() {
  if (tk::CControlUI* button = m_PaintManager.FindControl(u"login_btn")) button->SetEnabled(false);
  if (userEdit != nullptr && passwordEdit != nullptr) {
    if (userEdit->GetText().empty()) {
      qv::ShowMessage(nullptr, u"请输入用户名");
      EnableLoginButton();
      return;
    }
    if (passwordEdit->GetText().empty()) {
      qv::ShowMessage(nullptr, u"请输入密码");
      EnableLoginButton();
      return;
    }
  }
  StartLogin();
}

void LoginWin::StartLogin() {
  if (userEdit == nullptr || passwordEdit == nullptr) {
    tk::MessageBox(nullptr, u"程序运行错误，请联系客服反馈", u"错误", tk::MB_OK);
    return;
  }
  phone = userEdit->GetText();
  password = passwordEdit->GetText();
  auto* check = dynamic_cast<tk::CCheckBoxUI*>(m_PaintManager.FindControl(u"check_pwd"));
  const bool remember = check == nullptr || check->GetCheck();

  const std::u16string config = qv::ReadConfig();
  std::u16string rememberedPassword, rememberedUser;
  if (!config.empty()) {
    rememberedPassword = qv::ReplyField(config, u"pwd", u',', u'=');
    rememberedUser = qv::ReplyField(config, u"user", u',', u'=');
  } else {
    userChanged = true;
  }
  // The box shows the remembered password already scrambled; anything
  // typed is scrambled here, so the request always carries that form.
  if (password != rememberedPassword) password = qv::ScramblePassword(password);
  if (phone != rememberedUser) userChanged = true;

  qv::SetConfigValue(u"user", phone);
  qv::SetConfigValue(u"pwd", remember ? std::u16string_view(password) : std::u16string_view());

  sign = qv::SignAnsiText(phone + salt);

  // The login thread: the request, its messages, then the result handed to
  // this window on the user-interface thread.
  std::thread([this, url = LoginUrl(phone, password, sign)] {
    const std::u16string reply = qv::HttpGet(url, "");
    if (reply.empty()) {
      tk::MessageBox(nullptr, u"登录失败", u"提示", tk::MB_OK);
    } else {
      const std::u16string_view message = LoginResultMessage(qv::ReplyField(reply, u"result"));
      if (!message.empty()) qv::ShowMessage(nullptr, message);
    }
    PostCall([this, reply] { OnLoginReply(reply); });
  }).detach();

  if (userEdit != nullptr) m_PaintManager.SetTimer(userEdit, kLoginTimerId, 1000);
}

void LoginWin::OnLoginReply(const std::u16string& reply) {
  if (reply.empty()) {
    EnableLoginButton();
    return;
  }
  uid = qv::ReplyField(reply, u"uid");
  if (qv::ReplyField(reply, u"result") == u"0") {
    loginSucceeded = true;  // the button stays disabled; the timer finishes
  } else {
    EnableLoginButton();
  }
}

void LoginWin::FinishLogin() {
  password = qv::ScramblePassword(password);  // plain again
  qv::RegisterSipAccount(phone, password, userChanged);
  if (theMainWindow.load() == nullptr) {
    mainWindow = KeepUntilExit(new QVUI());
    theMainWindow = mainWindow;
  }
  if (mainWindow == nullptr) return;
  const tk::Rect corner = GetWindowRect();
  mainWindow->phone = phone;
  mainWindow->uid = uid;
  mainWindow->password = password;
  mainWindow->sign = qv::SignText(uid + mainWindow->salt);
  mainWindow->mainHwnd = mainWindow->Create(nullptr, u"Velto网络电话", tk::WS_OVERLAPPEDWINDOW | tk::WS_VISIBLE, 0,
                                            0, 0, 300, 550);
  tk::SetWindowPos(mainWindow->mainHwnd, nullptr, corner.left, corner.top, 0, 0,
                   tk::SWP_NOSIZE | tk::SWP_NOZORDER | tk::SWP_NOACTIVATE);
  Close(1);
}

// LoginWin: the registration view and the registration request.
#include "storage/hooks.h"
#include "storage/text.h"
#include "ui/login/login_win.h"
#include "ui/toolkit/shell.h"
#include "web/http_get.h"
#include "web/reply_field.h"
#include "web/service_hosts.h"
#include "web/sign.h"
#include "web/url.h"

namespace {

std::u16string_view RegisterResultMessage(std::u16string_view result) {
  if (result == u"0") return u"注册成功";
  if (result == u"-1") return u"注册失败";
  if (result == u"-2") return u"密码错误";
  if (result == u"-3") return u"手机号码错误";
  if (result == u"-6") return u"签名错误";
  if (result == u"-10" || result == u"-13") return u"后台程序错误";
  return u"未知错误";
}

std::u16string TextOf(tk::CControlUI* control) { return control != nullptr ? control->GetText() : std::u16string(); }

}  // namespace

void LoginWin::ShowRegisterView() {
  viewMode = u"2";
  if (loginButton != nullptr) loginButton->SetText(u"返回登录");
  if (registerButton != nullptr) registerButton->SetText(u"提交注册");
  if (confirmBox != nullptr) confirmBox->SetVisible(true);
}

void LoginWin::ShowLoginView() {
  viewMode = u"1";
  if (loginButton != nullptr) loginButton->SetText(u"登  录");
  if (registerButton != nullptr) registerButton->SetText(u"注  册");
  if (confirmBox != nullptr) confirmBox->SetVisible(false);
}

void LoginWin::Register() {
  const std::u16string number = TextOf(userEdit);
  const std::u16string first = TextOf(passwordEdit);
  const std::u16string second = TextOf(password2Edit);
  if (!qv::IsAllDigits(number)) {
    tk::MessageBox(nullptr, u"用户名有非法字符！只能是数字组成", u"提示", tk::MB_OK);
    return;
  }
  if (number.empty()) {
    tk::MessageBox(nullptr, u"请输入用户名", u"提示", tk::MB_OK);
    return;
  }
  if (first.empty() || second.empty()) {
    qv::ShowMessage(nullptr, u"请输入密码");
    return;
  }
  if (first != second) {
    qv::ShowMessage(nullptr, u"输入的两次密码不一样，请重新输入");
    return;
  }
  const std::u16string scrambled = qv::ScramblePassword(first);
  const std::u16string numberSign = qv::RequestSign(number);
  const std::string url = qv::BuildUrl(qv::ServiceBase(qv::Service::Api), "/reg",
                                       {{"phone", number},
                                        {"pwd", scrambled},
                                        {"agent_id", u""},
                                        {"sign", numberSign},
                                        {"pv", u"pc"},
                                        {"v", u"1.2"}});
  const std::u16string result = qv::ReplyField(qv::HttpGet(url, ""), u"result");
  qv::ShowMessage(nullptr, RegisterResultMessage(result));
  if (result == u"0") {
    userChanged = true;
    StartLogin();
  }
}

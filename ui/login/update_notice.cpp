// The update question of the login window: once per window, on a thread
// of its own, never in the way of the login.
#include <mutex>

#include "ui/login/login_win.h"
#include "ui/toolkit/shell.h"
#include "web/http_get.h"
#include "web/reply_field.h"
#include "web/service_hosts.h"

namespace {
std::mutex updateAddressLock;
std::u16string updateAddress;  // the last "update_addr" read, without spaces
}  // namespace

void UpdateNoticeThread(LoginWin* window) {
  const std::string url = qv::ServiceBase(qv::Service::Message) + "/msglist?sc=52037725&pv=PC&v=1.2";
  std::u16string address = qv::ReplyField(qv::HttpGet(url, ""), u"update_addr");
  std::erase(address, u' ');
  {
    std::lock_guard<std::mutex> hold(updateAddressLock);
    updateAddress = address;
  }
  if (address.empty()) return;
  if (tk::MessageBox(nullptr, u"有最新版本，是否升级!", u"提示", tk::MB_YESNO) == tk::IDYES) {
    window->updateWanted = true;
  }
}

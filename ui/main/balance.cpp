// QVUI::UpdateBalance: the balance query and the balance and package panel
// of the header ("RemainderMoney", "packageLayout").
#include <algorithm>
#include <utility>

#include "ui/main/qvui.h"
#include "ui/main/worker_task.h"
#include "web/reply_field.h"
#include "web/service_hosts.h"
#include "web/url.h"

namespace {

// Descriptions of the monthly packages by product code.
constexpr std::pair<std::u16string_view, std::u16string_view> kPackages[] = {
    {u"product:1", u"30元包月 【250分钟】"},
    {u"product:18", u"50元包月 【590分钟】"},
    {u"product:12", u"100元包月 【1430分钟】"},
    {u"product:13", u"300元包月 【4616分钟】"},
};

}  // namespace

void QVUI::UpdateBalance(std::u16string_view reply) {
  if (reply.empty()) {
    // The plain password goes with this query (the login sends it scrambled).
    StartWorkerTask(u"updateRemainderMoney",
                    qv::BuildUrl(qv::ServiceBase(qv::Service::Api), "/search_balance",
                                 {{"sign", sign}, {"uid", uid}, {"pwd", password}}),
                    0);
    return;
  }
  tk::CControlUI* money = m_PaintManager.FindControl(u"RemainderMoney");
  tk::CControlUI* package = m_PaintManager.FindControl(u"packageLayout");
  expiryTime.clear();
  validity.clear();
  std::u16string text(reply);
  std::erase(text, u' ');
  if (qv::ReplyField(text, u"result") != u"0") {
    if (money != nullptr) money->SetText(u"查询失败");
    return;
  }
  balance = qv::ReplyField(text, u"balance");
  const std::u16string code = qv::ReplyField(text, u"package");
  validity = qv::ReplyField(text, u"validate");
  expiryTime = qv::ReplyField(text, u"exp_time");
  if (!code.empty()) {
    monthLeftTime = qv::ReplyField(text, u"month_left_time");
    for (const auto& [product, description] : kPackages) {
      if (code == product) packageDescription = description;
    }
    if (package != nullptr) {
      package->SetText(u"包月剩" + monthLeftTime + u"分钟");
      package->SetToolTip(packageDescription);
    }
  } else if (package != nullptr) {
    package->SetText(u"无包月套餐");
  }
  if (money != nullptr) money->SetText(balance);
}

// The user-centre web server (8903): call history and recharge history,
// shown in the account centre's browser. The pages carry no signature; the
// number and the uid must name the same account.
#include <string>

#include "accounts.h"
#include "cards.h"
#include "context.h"
#include "database.h"
#include "html.h"
#include "protocol.h"

namespace qv::service {
namespace {

// The account the query names, or a page that says why there is none.
bool FindSubscriberPage(Context& c, const Query& q, const char* title, Account* account, Reply* page) {
  long long uid = 0;
  bool found = ParseUid(q.Get("uid"), &uid) &&
               FindAccountByUid(c.db, uid, account) == Found::kYes && account->phone == q.Get("phone");
  if (!found) {
    *page = HtmlReply(Page(title, std::string("<h1>") + title +
                                      "</h1><p>用户信息有误，请重新登录后再查询。</p>"));
  }
  return found;
}

std::string Header(const char* title, const Account& a) {
  return std::string("<h1>") + title + "</h1><p class=\"muted\">账号：" + HtmlEscape(a.phone) +
         "　余额：" + YuanText(a.balanceFen) + "元</p>";
}

Reply CallSearch(Context& c, const Query& q) {
  const char* title = "通话记录查询";
  auto lock = c.db.Lock();
  Account account;
  Reply page;
  if (!FindSubscriberPage(c, q, title, &account, &page)) return page;
  Statement st(c.db.handle(),
               "SELECT at, called FROM callbacks WHERE uid = ?1 ORDER BY id DESC LIMIT 200");
  st.Bind(1, account.uid);
  std::string rows;
  while (st.Step()) {
    rows += "<tr><td>" + HtmlEscape(st.Text(0)) + "</td><td>" + HtmlEscape(st.Text(1)) +
            "</td><td>回拨</td></tr>";
  }
  std::string body = Header(title, account);
  if (rows.empty()) {
    body += "<div class=\"card\"><p>暂无通话记录。</p></div>";
  } else {
    body += "<div class=\"card\"><table><tr><th>时间</th><th>被叫号码</th><th>方式</th></tr>" + rows +
            "</table></div>";
  }
  return HtmlReply(Page(title, body));
}

std::string CardName(const std::string& code) {
  const CardKind* kind = FindCardKind(code);
  return kind ? std::string(kind->name) : code;
}

Reply ChargeLog(Context& c, const Query& q) {
  const char* title = "充值记录查询";
  auto lock = c.db.Lock();
  Account account;
  Reply page;
  if (!FindSubscriberPage(c, q, title, &account, &page)) return page;
  Statement st(c.db.handle(),
               "SELECT at, goods, card_kind, amount_fen FROM recharges WHERE uid = ?1 "
               "ORDER BY id DESC LIMIT 200");
  st.Bind(1, account.uid);
  std::string rows;
  while (st.Step()) {
    rows += "<tr><td>" + HtmlEscape(st.Text(0)) + "</td><td>" +
            (st.Text(1) == "1" ? "包月套餐" : "帐户充值") + "</td><td>" + HtmlEscape(CardName(st.Text(2))) +
            "</td><td>" + YuanText(st.Int(3)) + "元</td></tr>";
  }
  std::string body = Header(title, account);
  if (rows.empty()) {
    body += "<div class=\"card\"><p>暂无充值记录。</p></div>";
  } else {
    body += "<div class=\"card\"><table><tr><th>时间</th><th>类型</th><th>支付方式</th><th>金额</th></tr>" +
            rows + "</table></div>";
  }
  return HtmlReply(Page(title, body));
}

}  // namespace

std::vector<Route> UserCentreRoutes() {
  Reply refusal = HtmlReply(Page("参数错误", "<h1>参数错误</h1><p>请求参数有误。</p>"), 400);
  return {
      {"/usercenter/mobile_callsearch.php", CallSearch, refusal},
      {"/usercenter/mobile_chargelog.php", ChargeLog, refusal},
  };
}

}  // namespace qv::service

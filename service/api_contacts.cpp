// The contacts web server (8901): the subscriber's address book and the
// offers page shown in the main window.
//
// The list is a text of records "name:phone:cornet:id" joined by commas, so
// names may hold neither ',' nor ':'; the editor shows any reply other than
// "操作成功" to the subscriber as it is, so refusals are written for people.
#include <string>

#include "context.h"
#include "database.h"
#include "html.h"
#include "protocol.h"
#include "storage/text.h"

namespace qv::service {
namespace {

constexpr size_t kMaxNameChars = 32;
constexpr size_t kMaxPhoneDigits = 22;
constexpr long long kMaxContacts = 500;

// "" when the uid and its signature name an account, else the reply text.
std::string CheckUid(Context& c, const Query& q, long long* uid) {
  if (!ParseUid(q.Get("uid"), uid)) return "-4";
  if (!SignatureMatches(q.Get("uid"), q.Get("sign"))) return "-6";
  Statement st(c.db.handle(), "SELECT status FROM accounts WHERE uid = ?1");
  st.Bind(1, *uid);
  if (!st.Step()) return st.ok() ? "-4" : "-10";
  return st.Text(0) == "closed" ? "-4" : "";
}

Reply GetContacts(Context& c, const Query& q) {
  auto lock = c.db.Lock();
  long long uid = 0;
  std::string error = CheckUid(c, q, &uid);
  if (!error.empty()) return TextReply(error);
  Statement st(c.db.handle(), "SELECT name, phone, cornet, id FROM contacts WHERE uid = ?1 ORDER BY id");
  st.Bind(1, uid);
  std::string body;
  while (st.Step()) {
    if (!body.empty()) body += ",";
    body += st.Text(0) + ":" + st.Text(1) + ":" + st.Text(2) + ":" + std::to_string(st.Int(3));
  }
  if (!st.ok()) return TextReply("-10");
  return TextReply(body);
}

Reply DeleteContact(Context& c, const Query& q) {
  auto lock = c.db.Lock();
  long long uid = 0, id = 0;
  if (!CheckUid(c, q, &uid).empty() || !ParseUid(q.Get("id"), &id)) return TextReply("F");
  Statement st(c.db.handle(), "DELETE FROM contacts WHERE id = ?1 AND uid = ?2");
  st.Bind(1, id).Bind(2, uid);
  if (!st.Run() || c.db.Changes() != 1) return TextReply("F");
  return TextReply("Y");
}

// Why a contact name cannot be stored, or "".
std::string NameProblem(const std::string& name) {
  if (name.empty()) return "请输入联系人姓名！";
  std::u16string wide = qv::FromUtf8(name);
  if (wide.size() > kMaxNameChars) return "联系人姓名不能超过32个字";
  for (char16_t ch : wide) {
    if (ch == u',' || ch == u':') return "联系人姓名不能含有英文逗号或冒号";
    if (ch < 0x20 || ch == 0x7f) return "联系人姓名含有非法字符";
  }
  return "";
}

// Why a contact number cannot be stored, or "".
std::string PhoneProblem(const std::string& phone) {
  if (phone.empty()) return "请输入联系人电话号码";
  if (!IsDigits(phone)) return "电话号码有非法字符！";
  if (phone.size() < 3 || phone.size() > kMaxPhoneDigits) return "电话号码长度应为3到22位";
  return "";
}

// The short number: the last four digits of the number.
std::string Cornet(const std::string& phone) {
  return phone.size() > 4 ? phone.substr(phone.size() - 4) : phone;
}

Reply SaveContact(Context& c, const Query& q) {
  auto lock = c.db.Lock();
  long long uid = 0;
  std::string error = CheckUid(c, q, &uid);
  if (error == "-6") return TextReply("签名错误，请重新登录");
  if (error == "-10") return TextReply("后台程序错误，请稍后再试");
  if (!error.empty()) return TextReply("账户不存在");
  std::string name = q.Get("username");
  std::string phone = q.Get("phone");
  std::string problem = PhoneProblem(phone);
  if (problem.empty()) problem = NameProblem(name);
  if (!problem.empty()) return TextReply(problem);
  std::string cornet = q.Get("cornet");
  if (!cornet.empty() && cornet != Cornet(phone)) return TextReply("短号错误");

  std::string action = q.Get("action");
  if (action == "add") {
    Statement count(c.db.handle(), "SELECT count(*) FROM contacts WHERE uid = ?1");
    count.Bind(1, uid);
    if (!count.Step()) return TextReply("后台程序错误，请稍后再试");
    if (count.Int(0) >= kMaxContacts) return TextReply("通讯录已满，最多保存500个联系人");
    Statement st(c.db.handle(), "INSERT INTO contacts (uid, name, phone, cornet) VALUES (?1, ?2, ?3, ?4)");
    st.Bind(1, uid).Bind(2, name).Bind(3, phone).Bind(4, Cornet(phone));
    if (!st.Run()) return TextReply("后台程序错误，请稍后再试");
    return TextReply("操作成功");
  }
  if (action == "edit") {
    long long id = 0;
    if (!ParseUid(q.Get("id"), &id)) return TextReply("联系人不存在");
    Statement st(c.db.handle(),
                 "UPDATE contacts SET name = ?1, phone = ?2, cornet = ?3 WHERE id = ?4 AND uid = ?5");
    st.Bind(1, name).Bind(2, phone).Bind(3, Cornet(phone)).Bind(4, id).Bind(5, uid);
    if (!st.Run()) return TextReply("后台程序错误，请稍后再试");
    if (c.db.Changes() != 1) return TextReply("联系人不存在");
    return TextReply("操作成功");
  }
  return TextReply("参数错误");
}

Reply Preferential(Context&, const Query&) {
  return HtmlReply(Page("优惠活动",
                        "<h1>优惠活动</h1>"
                        "<div class=\"card\"><h2>包月套餐，通话更省</h2><table>"
                        "<tr><th>套餐</th><th>包含分钟</th><th>折合每分钟</th></tr>"
                        "<tr><td>30元包月</td><td>250分钟</td><td>0.12元</td></tr>"
                        "<tr><td>50元包月</td><td>590分钟</td><td>0.085元</td></tr>"
                        "<tr><td>100元包月</td><td>1430分钟</td><td>0.07元</td></tr>"
                        "<tr><td>300元包月</td><td>4616分钟</td><td>0.065元</td></tr>"
                        "</table></div>"
                        "<div class=\"card\"><h2>新用户体验</h2>"
                        "<p>注册即送5元体验金，可使用回拨功能拨打全国固话和手机。</p></div>"
                        "<div class=\"card\"><h2>充值说明</h2>"
                        "<p>支持移动充值卡、联通充值卡和Velto卡充值，也可在官网在线支付。"
                        "Velto卡充值没有赠送金额。</p></div>"));
}

}  // namespace

std::vector<Route> ContactsRoutes() {
  return {
      {"/pcphone/getContacts.php", GetContacts, TextReply("-3")},
      {"/pcphone/deleteContacte.php", DeleteContact, TextReply("F")},
      {"/pcphone/addContacte.php", SaveContact, TextReply("参数错误")},
      {"/pcphone/preferential.php", Preferential, HtmlReply(Page("优惠活动", "<p>参数错误</p>"), 400)},
  };
}

}  // namespace qv::service

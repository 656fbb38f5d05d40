// The account API server and the message server (port 8899).
//
// Result codes: "0" success; "-6" the signature does not match; "-10" the
// database failed. The other codes are those the phone tells apart for each
// path (login -1 -2 -3, registration -1 -2 -3, callback -2 -3 -4 -7 -8 -9
// -10, change of number -2 -3 -4 -5, change of password -2 -3 -4).
#include <ctime>
#include <string>

#include "accounts.h"
#include "clock.h"
#include "context.h"
#include "database.h"
#include "protocol.h"
#include "ringer.h"

namespace qv::service {
namespace {

// What a newly registered (trial) subscriber gets.
constexpr long long kTrialBalanceFen = 500;
constexpr int kTrialMonths = 1;

bool Expired(const Account& a) { return !a.validUntil.empty() && a.validUntil < Today(); }

bool PackageActive(const Account& a) {
  return !a.package.empty() &&
         (a.packageExpires.empty() || a.packageExpires >= DateTimeText(std::time(nullptr)));
}

// Finds the account of `phone`: "" when found, "-10" when the database
// fails, else `missing`.
std::string FindByPhone(Context& c, const std::string& phone, const char* missing, Account* account) {
  switch (FindAccountByPhone(c.db, phone, account)) {
    case Found::kError: return "-10";
    case Found::kNo: return missing;
    case Found::kYes: return "";
  }
  return "-10";
}

// Whether `phone` is free for a subscriber: "" when no account has it and it
// is no service number of the SIP server, "-10" when the database fails,
// else `taken`.
std::string CheckPhoneFree(Context& c, const std::string& phone, const char* taken) {
  Account existing;
  switch (FindAccountByPhone(c.db, phone, &existing)) {
    case Found::kError: return "-10";
    case Found::kYes: return taken;
    case Found::kNo: break;
  }
  switch (FindSubscriber(c.db, phone)) {
    case Found::kError: return "-10";
    case Found::kYes: return taken;
    case Found::kNo: return "";
  }
  return "-10";
}

Reply Login(Context& c, const std::string& phone, const std::string& plain) {
  Account account;
  std::string code = FindByPhone(c, phone, "-3", &account);
  if (!code.empty()) return ResultReply(code);
  if (account.status == "closed") return ResultReply("-3");
  if (account.password != plain) return ResultReply("-2");
  if (account.status != "active") return ResultReply("-1");
  std::string uid = std::to_string(account.uid);
  return JsonReply({{"result", "0"}, {"uid", uid}});
}

Reply Register(Context& c, const std::string& phone, const std::string& plain,
               const std::string& agent) {
  if (!agent.empty() && (!IsDigits(agent) || agent.size() > 16)) return ResultReply("-1");
  if (!IsAcceptablePassword(plain)) return ResultReply("-2");
  std::string code = CheckPhoneFree(c, phone, "-1");
  if (!code.empty()) return ResultReply(code);
  Account account;
  account.phone = phone;
  account.password = plain;
  account.kind = AccountKind::kTrial;
  account.balanceFen = kTrialBalanceFen;
  account.validUntil = DateText(AddMonths(std::time(nullptr), kTrialMonths));
  account.agentId = agent;
  Transaction tx(c.db);
  if (!tx.ok() || !InsertAccount(c.db, account, c.config.sipDomain) || !tx.Commit()) {
    return ResultReply("-10");
  }
  std::string uid = std::to_string(account.uid);
  return JsonReply({{"result", "0"}, {"uid", uid}});
}

// "/reg": a login with agent_id -1, a registration otherwise (agent_id
// empty, or the digits of the agent who signed the subscriber up).
Reply Reg(Context& c, const Query& q) {
  std::string phone = q.Get("phone");
  if (!SignatureMatches(phone, q.Get("sign"))) return ResultReply("-6");
  if (!IsMobileNumber(phone)) return ResultReply("-3");
  std::string plain = UnscramblePassword(q.Get("pwd"));
  auto lock = c.db.Lock();
  if (q.Get("agent_id") == "-1") return Login(c, phone, plain);
  return Register(c, phone, plain, q.Get("agent_id"));
}

Reply UserType(Context& c, const Query& q) {
  std::string phone = q.Get("phone");
  if (!SignatureMatches(phone, q.Get("sign"))) return ResultReply("-6");
  auto lock = c.db.Lock();
  Account account;
  std::string code = FindByPhone(c, phone, "-4", &account);
  if (!code.empty()) return ResultReply(code);
  if (account.status == "closed") return ResultReply("-4");
  return JsonReply({{"result", "0"}, {"type", account.kind == AccountKind::kRegular ? "1" : "0"}});
}

// Finds the account a uid-signed request names: "" when found, else the
// result code to answer.
std::string FindByUid(Context& c, const Query& q, Account* account) {
  long long uid = 0;
  if (!ParseUid(q.Get("uid"), &uid)) return "-4";
  if (!SignatureMatches(q.Get("uid"), q.Get("sign"))) return "-6";
  switch (FindAccountByUid(c.db, uid, account)) {
    case Found::kError: return "-10";
    case Found::kNo: return "-4";
    case Found::kYes: return "";
  }
  return "-10";
}

// "/call": the callback request of a trial subscriber. The service rings
// the subscriber back from its service number.
Reply Call(Context& c, const Query& q) {
  auto lock = c.db.Lock();
  Account account;
  std::string code = FindByUid(c, q, &account);
  if (!code.empty()) return ResultReply(code);
  if (account.status == "closed") return ResultReply("-7");
  if (account.password != UnscramblePassword(q.Get("pwd"))) return ResultReply("-2");
  if (account.status == "frozen") return ResultReply("-10");
  if (Expired(account)) return ResultReply("-8");
  if (account.balanceFen <= 0) return ResultReply("-9");
  // Numbers out in the telephone network, or a number of this service.
  std::string called = q.Get("called");
  bool diallable = IsDiallableNumber(called) ||
                   (IsDigits(called) && called.size() <= 22 && FindSubscriber(c.db, called) == Found::kYes);
  if (!diallable) return ResultReply("-3");
  Statement st(c.db.handle(), "INSERT INTO callbacks (uid, called) VALUES (?1, ?2)");
  st.Bind(1, account.uid).Bind(2, called);
  if (!st.Run()) return ResultReply("-10");
  c.ringer.Ring(account.phone, called);
  return ResultReply("0");
}

Reply SearchBalance(Context& c, const Query& q) {
  auto lock = c.db.Lock();
  Account account;
  std::string code = FindByUid(c, q, &account);
  if (!code.empty()) return ResultReply(code);
  if (account.status == "closed") return ResultReply("-4");
  if (account.password != q.Get("pwd")) return ResultReply("-2");
  std::string balance = YuanText(account.balanceFen);
  bool package = PackageActive(account);
  std::string minutes = std::to_string(package ? account.packageMinutes : 0);
  return JsonReply({{"result", "0"},
                    {"balance", balance},
                    {"package", package ? account.package : std::string()},
                    {"month_left_time", minutes},
                    {"validate", account.validUntil},
                    {"exp_time", package ? account.packageExpires : std::string()}});
}

Reply ChangePhone(Context& c, const Query& q) {
  std::string oldPhone = q.Get("old_phone");
  std::string newPhone = q.Get("new_phone");
  if (!SignatureMatches(oldPhone, q.Get("sign"))) return ResultReply("-6");
  auto lock = c.db.Lock();
  Account account;
  std::string code = FindByPhone(c, oldPhone, "-1", &account);
  if (!code.empty()) return ResultReply(code);
  if (account.status != "active") return ResultReply("-1");
  if (account.password != UnscramblePassword(q.Get("pwd"))) return ResultReply("-2");
  if (!IsMobileNumber(newPhone)) return ResultReply("-3");
  code = CheckPhoneFree(c, newPhone, "-4");
  if (!code.empty()) return ResultReply(code);
  if (account.balanceFen <= 0) return ResultReply("-5");
  Transaction tx(c.db);
  if (!tx.ok() || !ChangeAccountPhone(c.db, account, newPhone, c.config.sipDomain) || !tx.Commit()) {
    return ResultReply("-10");
  }
  return ResultReply("0");
}

Reply ChangePwd(Context& c, const Query& q) {
  std::string phone = q.Get("phone");
  if (!SignatureMatches(phone, q.Get("sign"))) return ResultReply("-6");
  std::string newPlain = UnscramblePassword(q.Get("new_pwd"));
  if (!IsAcceptablePassword(newPlain)) return ResultReply("-3");
  auto lock = c.db.Lock();
  Account account;
  std::string code = FindByPhone(c, phone, "-4", &account);
  if (!code.empty()) return ResultReply(code);
  if (account.status != "active") return ResultReply("-4");
  if (account.password != UnscramblePassword(q.Get("old_pwd"))) return ResultReply("-2");
  Transaction tx(c.db);
  if (!tx.ok() || !ChangeAccountPassword(c.db, account, newPlain, c.config.sipDomain) ||
      !tx.Commit()) {
    return ResultReply("-10");
  }
  return ResultReply("0");
}

// "/msglist": the update notice of a client build ("sc").
Reply MsgList(Context& c, const Query& q) {
  auto lock = c.db.Lock();
  Statement st(c.db.handle(), "SELECT update_addr, enabled FROM notices WHERE sc = ?1");
  st.Bind(1, q.Get("sc"));
  if (!st.Step()) return JsonReply({{"result", st.ok() ? "-1" : "-10"}, {"update_addr", ""}});
  std::string addr = st.Int(1) != 0 ? st.Text(0) : std::string();
  return JsonReply({{"result", "0"}, {"update_addr", addr}});
}

}  // namespace

std::vector<Route> AccountApiRoutes() {
  return {
      {"/reg", Reg, ResultReply("-1")},
      {"/user_type", UserType, ResultReply("-4")},
      {"/call", Call, ResultReply("-3")},
      {"/search_balance", SearchBalance, ResultReply("-4")},
      {"/change_phone", ChangePhone, ResultReply("-3")},
      {"/change_pwd", ChangePwd, ResultReply("-3")},
      {"/msglist", MsgList, JsonReply({{"result", "-1"}, {"update_addr", ""}})},
  };
}

}  // namespace qv::service

#include "accounts.h"

#include <cstdio>
#include <string>

#include "database.h"
#include "web/md5.h"

namespace qv::service {
namespace {

constexpr const char* kAccountColumns =
    "uid, phone, password, kind, status, balance_fen, valid_until, package, package_minutes, "
    "package_expires, agent_id";

void ReadAccount(const Statement& st, Account* a) {
  a->uid = st.Int(0);
  a->phone = st.Text(1);
  a->password = st.Text(2);
  a->kind = st.Int(3) == 1 ? AccountKind::kRegular : AccountKind::kTrial;
  a->status = st.Text(4);
  a->balanceFen = st.Int(5);
  a->validUntil = st.Text(6);
  a->package = st.Text(7);
  a->packageMinutes = st.Int(8);
  a->packageExpires = st.Text(9);
  a->agentId = st.Text(10);
}

Found FindOne(Statement& st, Account* account) {
  if (st.Step()) {
    ReadAccount(st, account);
    return Found::kYes;
  }
  return st.ok() ? Found::kNo : Found::kError;
}

}  // namespace

Found FindAccountByPhone(Database& db, std::string_view phone, Account* account) {
  Statement st(db.handle(), std::string("SELECT ") + kAccountColumns + " FROM accounts WHERE phone = ?1");
  st.Bind(1, phone);
  return FindOne(st, account);
}

Found FindAccountByUid(Database& db, long long uid, Account* account) {
  Statement st(db.handle(), std::string("SELECT ") + kAccountColumns + " FROM accounts WHERE uid = ?1");
  st.Bind(1, uid);
  return FindOne(st, account);
}

bool InsertAccount(Database& db, Account& a, std::string_view sipDomain) {
  Statement st(db.handle(),
               "INSERT INTO accounts (uid, phone, password, kind, status, balance_fen, valid_until, "
               "package, package_minutes, package_expires, agent_id) "
               "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)");
  if (a.uid > 0) st.Bind(1, a.uid);
  else st.BindNull(1);
  st.Bind(2, a.phone).Bind(3, a.password).Bind(4, static_cast<long long>(a.kind));
  st.Bind(5, a.status).Bind(6, a.balanceFen).Bind(7, a.validUntil).Bind(8, a.package);
  st.Bind(9, a.packageMinutes).Bind(10, a.packageExpires).Bind(11, a.agentId);
  if (!st.Run()) return false;
  a.uid = db.LastInsertId();
  // Only an account in service may register with the SIP server.
  return a.status != "active" || PutSubscriber(db, a.phone, a.password, sipDomain);
}

bool ChangeAccountPhone(Database& db, const Account& account, std::string_view newPhone,
                        std::string_view sipDomain) {
  Statement st(db.handle(), "UPDATE accounts SET phone = ?1 WHERE uid = ?2");
  st.Bind(1, newPhone).Bind(2, account.uid);
  return st.Run() && RemoveSubscriber(db, account.phone, sipDomain) &&
         PutSubscriber(db, newPhone, account.password, sipDomain);
}

bool ChangeAccountPassword(Database& db, const Account& account, std::string_view newPassword,
                           std::string_view sipDomain) {
  Statement st(db.handle(), "UPDATE accounts SET password = ?1 WHERE uid = ?2");
  st.Bind(1, newPassword).Bind(2, account.uid);
  return st.Run() && PutSubscriber(db, account.phone, newPassword, sipDomain);
}

bool SaveAccountMoney(Database& db, const Account& a) {
  Statement st(db.handle(),
               "UPDATE accounts SET kind = ?1, balance_fen = ?2, package = ?3, package_minutes = ?4, "
               "package_expires = ?5 WHERE uid = ?6");
  st.Bind(1, static_cast<long long>(a.kind)).Bind(2, a.balanceFen).Bind(3, a.package);
  st.Bind(4, a.packageMinutes).Bind(5, a.packageExpires).Bind(6, a.uid);
  return st.Run();
}

bool PutSubscriber(Database& db, std::string_view user, std::string_view password,
                   std::string_view sipDomain) {
  std::string u(user), d(sipDomain), p(password);
  std::string ha1 = Md5::HexOf(u + ":" + d + ":" + p);
  std::string ha1b = Md5::HexOf(u + "@" + d + ":" + d + ":" + p);
  Statement st(db.handle(),
               "INSERT INTO subscriber (username, domain, password, ha1, ha1b) VALUES (?1, ?2, ?3, ?4, ?5) "
               "ON CONFLICT (username, domain) DO UPDATE SET password = excluded.password, "
               "ha1 = excluded.ha1, ha1b = excluded.ha1b");
  st.Bind(1, u).Bind(2, d).Bind(3, p).Bind(4, ha1).Bind(5, ha1b);
  return st.Run();
}

bool RemoveSubscriber(Database& db, std::string_view user, std::string_view sipDomain) {
  Statement st(db.handle(), "DELETE FROM subscriber WHERE username = ?1 AND domain = ?2");
  st.Bind(1, user).Bind(2, sipDomain);
  return st.Run();
}

Found FindSubscriber(Database& db, std::string_view user) {
  Statement st(db.handle(), "SELECT 1 FROM subscriber WHERE username = ?1");
  st.Bind(1, user);
  if (st.Step()) return Found::kYes;
  return st.ok() ? Found::kNo : Found::kError;
}

std::string YuanText(long long fen) {
  char text[32];
  const char* sign = fen < 0 ? "-" : "";
  long long v = fen < 0 ? -fen : fen;
  std::snprintf(text, sizeof text, "%s%lld.%02lld", sign, v / 100, v % 100);
  return text;
}

}  // namespace qv::service

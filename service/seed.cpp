#include "seed.h"

#include <ctime>

#include "accounts.h"
#include "cards.h"
#include "clock.h"
#include "context.h"
#include "database.h"

namespace qv::service {
namespace {

struct DemoContact {
  long long uid;
  std::string_view name;
  std::string_view phone;
};

constexpr DemoContact kDemoContacts[] = {
    {10001, "语音测试", "600600"},    {10001, "张伟", "13912345678"},
    {10001, "王芳", "13787654321"},   {10001, "李娜", "15012345678"},
    {10001, "刘洋", "18688886666"},   {10001, "陈静", "01065529988"},
    {10001, "杨帆", "02161234567"},   {10001, "赵磊", "13300001111"},
    {10001, "黄敏", "18912340000"},   {10001, "周杰", "075588776655"},
    {10001, "吴婷", "13900000002"},   {10001, "孙丽", "15912345678"},
    {10002, "语音测试", "600600"},    {10002, "张伟", "13912345678"},
    {10002, "演示正式用户", "13800000001"},
};

constexpr long long kCardValuesFen[kDemoCardsPerKind] = {3000, 5000, 10000, 30000};

std::string Padded(std::string_view head, size_t length, int index) {
  std::string tail = std::to_string(index);
  std::string text(head);
  text.append(length - head.size() - tail.size(), '0');
  return text + tail;
}

Account DemoAccountRow(const DemoAccount& demo, std::time_t now) {
  Account a;
  a.uid = demo.uid;
  a.phone = demo.phone;
  a.password = demo.password;
  a.validUntil = DateText(AddMonths(now, 12));
  switch (demo.uid) {
    case 10001:
      a.kind = AccountKind::kRegular;
      a.balanceFen = 5860;
      a.package = "product:18";
      a.packageMinutes = 372;
      a.packageExpires = DateText(AddMonths(now, 1)) + " 23:59:59";
      break;
    case 10002:
      a.balanceFen = 500;
      a.validUntil = DateText(AddMonths(now, 1));
      break;
    case 10003:
      a.kind = AccountKind::kRegular;
      a.status = "frozen";
      a.balanceFen = 1000;
      break;
    case 10004:
      a.balanceFen = 500;
      a.validUntil = DateText(now - 24 * 3600);
      break;
    case 10006:
      a.status = "closed";
      a.balanceFen = 500;
      break;
    default:
      a.balanceFen = 0;
      a.validUntil = DateText(AddMonths(now, 1));
  }
  return a;
}

}  // namespace

DemoCard DemoCardOf(std::string_view kind, int index) {
  const CardKind* k = FindCardKind(kind);
  if (!k || index < 1 || index > kDemoCardsPerKind) return {};
  return {kind, Padded(k->code, k->numberLength, index), Padded("8", k->passwordLength, index),
          kCardValuesFen[index - 1]};
}

bool SeedDemoData(Database& db, const ServiceConfig& config) {
  Transaction tx(db);
  if (!tx.ok()) return false;
  // The SIP rows of the service's accounts go with them; SIP users that are
  // no accounts of the service (added to the SIP server by hand) stay.
  Statement sip(db.handle(), "DELETE FROM subscriber WHERE username IN (SELECT phone FROM accounts) OR username = ?1");
  sip.Bind(1, kDemoCalleeNumber);
  if (!sip.Run()) return false;
  for (const char* table : {"contacts", "recharges", "callbacks", "cards", "notices", "accounts"}) {
    if (!db.Exec(std::string("DELETE FROM ") + table + ";")) return false;
  }
  std::time_t now = std::time(nullptr);
  for (const DemoAccount& demo : kDemoAccounts) {
    Account a = DemoAccountRow(demo, now);
    if (!InsertAccount(db, a, config.sipDomain)) return false;
  }
  if (!PutSubscriber(db, kDemoCalleeNumber, kDemoCalleePassword, config.sipDomain)) return false;
  for (const DemoContact& c : kDemoContacts) {
    std::string phone(c.phone);
    Statement st(db.handle(), "INSERT INTO contacts (uid, name, phone, cornet) VALUES (?1, ?2, ?3, ?4)");
    st.Bind(1, c.uid).Bind(2, c.name).Bind(3, phone);
    st.Bind(4, phone.size() > 4 ? phone.substr(phone.size() - 4) : phone);
    if (!st.Run()) return false;
  }
  for (const CardKind& kind : kCardKinds) {
    for (int i = 1; i <= kDemoCardsPerKind; ++i) {
      DemoCard card = DemoCardOf(kind.code, i);
      Statement st(db.handle(), "INSERT INTO cards (number, password, kind, value_fen) VALUES (?1, ?2, ?3, ?4)");
      st.Bind(1, card.number).Bind(2, card.password).Bind(3, card.kind).Bind(4, card.valueFen);
      if (!st.Run()) return false;
    }
  }
  Statement notice(db.handle(), "INSERT INTO notices (sc, update_addr, enabled) VALUES (?1, ?2, 0)");
  notice.Bind(1, kClientBuild).Bind(2, config.siteHome);
  if (!notice.Run()) return false;
  return tx.Commit();
}

std::string DemoSummary() {
  std::string text = "Demo accounts (number / password):\n";
  for (const DemoAccount& demo : kDemoAccounts) {
    text += "  " + std::string(demo.phone) + " / " + std::string(demo.password) + "  " +
            std::string(demo.what) + "\n";
  }
  text += "Demo callee (answers and plays a tone): " + std::string(kDemoCalleeNumber) + "\n";
  text += "Recharge cards (number / password / value):\n";
  for (const CardKind& kind : kCardKinds) {
    for (int i = 1; i <= kDemoCardsPerKind; ++i) {
      DemoCard card = DemoCardOf(kind.code, i);
      text += "  " + std::string(kind.name) + "  " + card.number + " / " + card.password + " / " +
              YuanText(card.valueFen) + "\n";
    }
  }
  return text;
}

}  // namespace qv::service

// The payment server (8902): recharge by card.
//
// A card is a row with its number, password, kind and face value, and is
// used up by the first recharge that names it. "goodstype" 2 adds the money
// to the balance; 1 buys a monthly package for 30, 50, 100 or 300 yuan.
// Either makes a trial subscriber a regular one.
//
// Result codes: "0" done; "-3" the account (uid or signature) is wrong;
// "-4" the request is malformed; "-5" the amount is wrong; "-6" the card
// number has the wrong form for its kind; "-7" so has the card password;
// "-8" no unused card with that number and password.
#include <ctime>
#include <string>

#include "accounts.h"
#include "cards.h"
#include "clock.h"
#include "context.h"
#include "database.h"
#include "protocol.h"

namespace qv::service {
namespace {

Reply Pay(Context& c, const Query& q) {
  if (q.Get("src") != "20") return ResultReply("-4");
  long long uid = 0;
  if (!ParseUid(q.Get("uid"), &uid) || !SignatureMatches(q.Get("uid"), q.Get("sign"))) {
    return ResultReply("-3");
  }
  const CardKind* kind = FindCardKind(q.Get("paytype"));
  std::string goods = q.Get("goodstype");
  if (!kind || (goods != "1" && goods != "2")) return ResultReply("-4");
  if (goods == "1" && !kind->forPackages) return ResultReply("-4");

  std::string money = q.Get("money");
  if (!IsDigits(money) || money.size() > 5) return ResultReply("-5");
  long long amountFen = std::stoll(money) * 100;
  const MonthlyProduct* product = nullptr;
  if (goods == "1") {
    product = FindProductByPrice(money);
    if (!product) return ResultReply("-5");
  }
  if (amountFen <= 0) return ResultReply("-5");

  std::string cardNo = q.Get("cardno");
  std::string cardPwd = q.Get("cardpwd");
  if (!IsDigits(cardNo) || cardNo.size() != kind->numberLength) return ResultReply("-6");
  if (!IsDigits(cardPwd) || cardPwd.size() != kind->passwordLength) return ResultReply("-7");

  auto lock = c.db.Lock();
  Account account;
  switch (FindAccountByUid(c.db, uid, &account)) {
    case Found::kError: return ResultReply("-4");
    case Found::kNo: return ResultReply("-3");
    case Found::kYes: break;
  }
  if (account.status != "active") return ResultReply("-3");

  Transaction tx(c.db);
  if (!tx.ok()) return ResultReply("-4");
  Statement card(c.db.handle(),
                 "SELECT value_fen FROM cards WHERE number = ?1 AND password = ?2 AND kind = ?3 "
                 "AND used_by IS NULL");
  card.Bind(1, cardNo).Bind(2, cardPwd).Bind(3, kind->code);
  if (!card.Step()) return ResultReply(card.ok() ? "-8" : "-4");
  if (card.Int(0) != amountFen) return ResultReply("-5");

  Statement use(c.db.handle(),
                "UPDATE cards SET used_by = ?1, used_at = datetime('now', 'localtime') "
                "WHERE number = ?2 AND used_by IS NULL");
  use.Bind(1, account.uid).Bind(2, cardNo);
  if (!use.Run() || c.db.Changes() != 1) return ResultReply("-8");

  std::time_t now = std::time(nullptr);
  if (product) {
    account.package = product->code;
    account.packageMinutes = product->minutes;
    account.packageExpires = DateText(AddMonths(now, 1)) + " 23:59:59";
  } else {
    account.balanceFen += amountFen;
  }
  account.kind = AccountKind::kRegular;
  Statement log(c.db.handle(),
                "INSERT INTO recharges (uid, goods, card_kind, card_number, amount_fen) "
                "VALUES (?1, ?2, ?3, ?4, ?5)");
  log.Bind(1, account.uid).Bind(2, goods).Bind(3, kind->code).Bind(4, cardNo).Bind(5, amountFen);
  if (!SaveAccountMoney(c.db, account) || !log.Run()) return ResultReply("-4");
  // A recharge keeps the number in service for another year from today.
  Statement valid(c.db.handle(), "UPDATE accounts SET valid_until = ?1 WHERE uid = ?2 AND valid_until < ?1");
  valid.Bind(1, DateText(AddMonths(now, 12))).Bind(2, account.uid);
  if (!valid.Run() || !tx.Commit()) return ResultReply("-4");
  return ResultReply("0");
}

}  // namespace

std::vector<Route> PaymentRoutes() {
  return {{"/recharge/service/pay.php", Pay, ResultReply("-4")}};
}

}  // namespace qv::service

// The demo data of the local service: accounts for every case, an address
// book, unused recharge cards of each kind, the update notice (off), and
// the demo callee's SIP account.
#pragma once

#include <string>
#include <string_view>

namespace qv::service {

class Database;
struct ServiceConfig;

struct DemoAccount {
  long long uid;
  std::string_view phone;
  std::string_view password;
  std::string_view what;
};

inline constexpr std::string_view kDemoPassword = "123456";
inline constexpr DemoAccount kDemoAccounts[] = {
    {10001, "13800000001", kDemoPassword, "正式用户：余额58.60元，50元包月套餐"},
    {10002, "13900000002", kDemoPassword, "体验用户：余额5.00元，只能回拨"},
    {10003, "13700000003", kDemoPassword, "正式用户，帐户已冻结"},
    {10004, "13600000004", kDemoPassword, "体验用户，号码已过期"},
    {10005, "13500000005", kDemoPassword, "体验用户，余额为零"},
    {10006, "13400000006", kDemoPassword, "体验用户，帐户已注销"},
};

// The demo callee: answers every call after a second and plays a tone; it
// is also the number a callback rings the subscriber from.
inline constexpr std::string_view kDemoCalleeNumber = "600600";
inline constexpr std::string_view kDemoCalleePassword = "callee600600";

// The client build whose update notice the message server keeps.
inline constexpr std::string_view kClientBuild = "52037725";

struct DemoCard {
  std::string_view kind;  // card code: "29", "36", "98"
  std::string number;
  std::string password;
  long long valueFen;
};

// The unused cards of the seed: for each kind, cards of 30, 50, 100 and 300
// yuan. The number starts with the kind's code, the password with 8; both
// end with the card's place in the list (1 to 4).
DemoCard DemoCardOf(std::string_view kind, int index);
inline constexpr int kDemoCardsPerKind = 4;

// Replaces every row of the service's tables and of the SIP subscriber
// table with the demo data. False when the database refused.
bool SeedDemoData(Database& db, const ServiceConfig& config);

// The lines a person needs to try the phone.
std::string DemoSummary();

}  // namespace qv::service

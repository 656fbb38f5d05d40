// The kinds of recharge card and the monthly packages the service sells.
#pragma once

#include <cstddef>
#include <string_view>

namespace qv::service {

struct CardKind {
  std::string_view code;  // "paytype" of the recharge request
  std::string_view name;
  size_t numberLength;
  size_t passwordLength;
  bool forPackages;  // the service's own card pays for account recharges only
};

inline constexpr CardKind kCardKinds[] = {
    {"29", "移动充值卡", 17, 18, true},
    {"36", "联通充值卡", 15, 19, true},
    {"98", "Velto卡", 21, 6, false},
};

struct MonthlyProduct {
  std::string_view price;  // yuan, as the "money" of the request
  std::string_view code;   // "package" of the balance reply
  long long minutes;
};

inline constexpr MonthlyProduct kMonthlyProducts[] = {
    {"30", "product:1", 250},
    {"50", "product:18", 590},
    {"100", "product:12", 1430},
    {"300", "product:13", 4616},
};

inline const CardKind* FindCardKind(std::string_view code) {
  for (const CardKind& kind : kCardKinds) {
    if (kind.code == code) return &kind;
  }
  return nullptr;
}

inline const MonthlyProduct* FindProductByPrice(std::string_view price) {
  for (const MonthlyProduct& product : kMonthlyProducts) {
    if (product.price == price) return &product;
  }
  return nullptr;
}

}  // namespace qv::service

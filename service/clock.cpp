#include "clock.h"

namespace qv::service {
namespace {

std::string Format(std::time_t when, const char* format) {
  std::tm tm{};
  localtime_r(&when, &tm);
  char text[32];
  size_t n = std::strftime(text, sizeof text, format, &tm);
  return std::string(text, n);
}

int DaysInMonth(int year, int month) {  // month 0..11
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 1 && leap ? 29 : days[month];
}

}  // namespace

std::string DateText(std::time_t when) { return Format(when, "%Y-%m-%d"); }

std::string DateTimeText(std::time_t when) { return Format(when, "%Y-%m-%d %H:%M:%S"); }

std::time_t AddMonths(std::time_t when, int months) {
  std::tm tm{};
  localtime_r(&when, &tm);
  int total = tm.tm_mon + months;
  tm.tm_year += total >= 0 ? total / 12 : (total - 11) / 12;
  tm.tm_mon = ((total % 12) + 12) % 12;
  int last = DaysInMonth(tm.tm_year + 1900, tm.tm_mon);
  if (tm.tm_mday > last) tm.tm_mday = last;
  tm.tm_isdst = -1;
  return std::mktime(&tm);
}

std::string Today() { return DateText(std::time(nullptr)); }

}  // namespace qv::service

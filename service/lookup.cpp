// The mobile-number lookup service (8906): where a number belongs, as
// GBK-encoded XML with a <location> tag; no tag for a number it does not
// know. The answer comes from a table of number prefixes: the longest
// prefix that matches wins.
#include <string>
#include <string_view>

#include "context.h"
#include "html.h"
#include "protocol.h"
#include "storage/text.h"

namespace qv::service {
namespace {

struct Prefix {
  std::string_view digits;
  std::string_view place;
};

// Mobile operators by the first three digits.
constexpr Prefix kOperators[] = {
    {"134", "移动"}, {"135", "移动"}, {"136", "移动"}, {"137", "移动"}, {"138", "移动"},
    {"139", "移动"}, {"147", "移动"}, {"150", "移动"}, {"151", "移动"}, {"152", "移动"},
    {"157", "移动"}, {"158", "移动"}, {"159", "移动"}, {"172", "移动"}, {"178", "移动"},
    {"182", "移动"}, {"183", "移动"}, {"184", "移动"}, {"187", "移动"}, {"188", "移动"},
    {"195", "移动"}, {"197", "移动"}, {"198", "移动"}, {"130", "联通"}, {"131", "联通"},
    {"132", "联通"}, {"145", "联通"}, {"155", "联通"}, {"156", "联通"}, {"166", "联通"},
    {"171", "联通"}, {"175", "联通"}, {"176", "联通"}, {"185", "联通"}, {"186", "联通"},
    {"196", "联通"}, {"133", "电信"}, {"149", "电信"}, {"153", "电信"}, {"173", "电信"},
    {"174", "电信"}, {"177", "电信"}, {"180", "电信"}, {"181", "电信"}, {"189", "电信"},
    {"190", "电信"}, {"191", "电信"}, {"193", "电信"}, {"199", "电信"},
};

// Cities of mobile number blocks (first seven digits or fewer).
constexpr Prefix kMobileBlocks[] = {
    {"1380000", "北京"}, {"1380001", "北京"}, {"1390000", "上海"}, {"1370000", "广东 广州"},
    {"1360000", "广东 深圳"}, {"1350000", "浙江 杭州"}, {"1330000", "江苏 南京"},
    {"1860000", "四川 成都"}, {"1890000", "湖北 武汉"}, {"1590000", "陕西 西安"},
    {"1500000", "天津"}, {"1880000", "重庆"}, {"1310000", "山东 青岛"},
};

// Fixed numbers by area code.
constexpr Prefix kAreaCodes[] = {
    {"010", "北京"}, {"020", "广东 广州"}, {"021", "上海"}, {"022", "天津"}, {"023", "重庆"},
    {"024", "辽宁 沈阳"}, {"025", "江苏 南京"}, {"027", "湖北 武汉"}, {"028", "四川 成都"},
    {"029", "陕西 西安"}, {"0755", "广东 深圳"}, {"0571", "浙江 杭州"}, {"0512", "江苏 苏州"},
    {"0731", "湖南 长沙"}, {"0371", "河南 郑州"}, {"0532", "山东 青岛"}, {"0591", "福建 福州"},
    {"0592", "福建 厦门"}, {"0871", "云南 昆明"}, {"0898", "海南 海口"},
};

template <size_t N>
std::string_view Longest(const Prefix (&table)[N], std::string_view number) {
  std::string_view best, place;
  for (const Prefix& p : table) {
    if (number.substr(0, p.digits.size()) == p.digits && p.digits.size() > best.size()) {
      best = p.digits;
      place = p.place;
    }
  }
  return place;
}

// "" for a number the table does not know.
std::string Locate(std::string_view number) {
  if (!IsDigits(number)) return "";
  if (IsMobileNumber(number)) {
    std::string_view op = Longest(kOperators, number);
    if (op.empty()) return "";
    std::string_view city = Longest(kMobileBlocks, number);
    return city.empty() ? "中国" + std::string(op) : std::string(city) + " " + std::string(op);
  }
  if (number[0] == '0' && number.size() >= 10 && number.size() <= 12) {
    std::string_view city = Longest(kAreaCodes, number);
    if (!city.empty()) return std::string(city) + " 固定电话";
  }
  return "";
}

Reply Search(Context&, const Query& q) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"gbk\"?>\n<smartresult>\n";
  if (q.Get("type") == "mobile") {
    std::string number = q.Get("q");
    std::string location = Locate(number);
    xml += "<product type=\"mobile\">\n<phonenum>" + HtmlEscape(number) + "</phonenum>\n";
    if (!location.empty()) xml += "<location>" + location + "</location>\n";
    xml += "</product>\n";
  }
  xml += "</smartresult>\n";
  Reply reply;
  reply.contentType = "text/xml; charset=gbk";
  reply.body = qv::ToAnsi(qv::FromUtf8(xml));
  return reply;
}

}  // namespace

std::vector<Route> LookupRoutes() {
  Reply refusal;
  refusal.contentType = "text/xml; charset=gbk";
  refusal.body = "<?xml version=\"1.0\" encoding=\"gbk\"?>\n<smartresult>\n</smartresult>\n";
  return {{"/smartresult-xml/search.s", Search, refusal}};
}

}  // namespace qv::service

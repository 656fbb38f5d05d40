// The web pages (user centre, mobile site, public site), the number lookup
// service and unknown paths.
#include <gtest/gtest.h>
#include <httplib.h>

#include "service_client.h"
#include "storage/text.h"

namespace svctest {
namespace {

class Pages : public ::testing::Test {
 protected:
  void SetUp() override { ResetService(); }
};

TEST_F(Pages, EveryPageTheAccountCentreAndTheTrayOpen) {
  struct Case {
    int port;
    std::string target, text;
  } cases[] = {
      {kUserCentre, Target("/usercenter/mobile_callsearch.php", {{"phone", "13800000001"}, {"uid", "10001"}}),
       "通话记录查询"},
      {kUserCentre, Target("/usercenter/mobile_chargelog.php", {{"phone", "13800000001"}, {"uid", "10001"}}),
       "暂无充值记录"},
      {kMobile, "/", "资费说明"},
      {kMobile, "/post/single1/info/11.html", "帮助中心"},
      {kMobile, "/post/single1/info/11.html/", "关于我们"},
      {kMobile, "/index.php?a=wap_acct", "在线充值"},
      {kSite, "/", "Velto网络电话"},
      {kSite, "/index/acct", "充值卡"},
      {kContacts, "/pcphone/preferential.php", "包月"},
  };
  for (const Case& c : cases) {
    HttpReply page = Get(c.port, c.target);
    EXPECT_EQ(page.status, 200) << c.target;
    EXPECT_EQ(page.contentType, "text/html; charset=utf-8") << c.target;
    EXPECT_NE(page.body.find("<!DOCTYPE html>"), std::string::npos) << c.target;
    EXPECT_NE(page.body.find(c.text), std::string::npos) << c.target;
  }
}

TEST_F(Pages, CallHistoryListsCallbacksOfThatAccountOnly) {
  Get(kApi, Target("/call", {{"uid", "10002"}, {"pwd", Scramble("123456")}, {"called", "13912345678"},
                             {"pv", "pc"}, {"v", "1.2"}, {"sign", Sign("10002")}}));
  std::string mine = Get(kUserCentre, Target("/usercenter/mobile_callsearch.php",
                                             {{"phone", "13900000002"}, {"uid", "10002"}}))
                         .body;
  EXPECT_NE(mine.find("13912345678"), std::string::npos);
  std::string other = Get(kUserCentre, Target("/usercenter/mobile_callsearch.php",
                                              {{"phone", "13800000001"}, {"uid", "10001"}}))
                          .body;
  EXPECT_EQ(other.find("13912345678"), std::string::npos);
  EXPECT_NE(other.find("暂无通话记录"), std::string::npos);
  // Number and uid of different accounts show nothing of either.
  std::string mismatch = Get(kUserCentre, Target("/usercenter/mobile_callsearch.php",
                                                 {{"phone", "13800000001"}, {"uid", "10002"}}))
                             .body;
  EXPECT_NE(mismatch.find("用户信息有误"), std::string::npos);
  EXPECT_EQ(mismatch.find("13912345678"), std::string::npos);
}

TEST_F(Pages, UnknownPathsGetAChinese404Page) {
  const std::pair<int, std::string> cases[] = {
      {kApi, "/nothing"}, {kApi, "/reg/"}, {kApi, "/REG"}, {kContacts, "/pcphone/"},
      {kMobile, "/index.php?a=other"}, {kSite, "/index/acct/more"}, {kLookup, "/"},
      {kPay, "/recharge/service/pay"}, {kUserCentre, "/usercenter/../reg"},
  };
  for (const auto& [port, target] : cases) {
    HttpReply page = Get(port, target);
    EXPECT_EQ(page.status, 404) << port << target;
    EXPECT_NE(page.body.find("页面不存在"), std::string::npos) << port << target;
  }
  // The phone sends GET only; other methods find nothing.
  httplib::Client client("127.0.0.1", kApi);
  auto post = client.Post("/reg", "phone=1", "application/x-www-form-urlencoded");
  ASSERT_TRUE(post);
  EXPECT_EQ(post->status, 404);
}

std::string Locate(const std::string& number, const std::string& type = "mobile") {
  HttpReply reply = Get(kLookup, Target("/smartresult-xml/search.s", {{"type", type}, {"q", number}}));
  EXPECT_EQ(reply.contentType, "text/xml; charset=gbk");
  return qv::ToUtf8(qv::FromAnsi(reply.body));
}

// What the phone takes out of the reply.
std::string Location(const std::string& xml) {
  size_t start = xml.find("<location>");
  if (start == std::string::npos) return "";
  start += 10;
  size_t end = xml.find("</location>", start);
  return end == std::string::npos ? "" : xml.substr(start, end - start);
}

TEST(Lookup, LocationFromTheTableOfPrefixesInGbk) {
  EXPECT_EQ(Location(Locate("13800000001")), "北京 移动");
  EXPECT_EQ(Location(Locate("13912345678")), "中国移动");
  EXPECT_EQ(Location(Locate("18612345678")), "中国联通");
  EXPECT_EQ(Location(Locate("01065529988")), "北京 固定电话");
  EXPECT_EQ(Location(Locate("075588776655")), "广东 深圳 固定电话");
  std::string unknown = Locate("10012345678");
  EXPECT_EQ(unknown.find("<location>"), std::string::npos) << unknown;
  EXPECT_NE(unknown.find("<phonenum>10012345678</phonenum>"), std::string::npos);
  EXPECT_EQ(Locate("600600").find("<location>"), std::string::npos);
  EXPECT_EQ(Locate("13800000001", "other").find("<product"), std::string::npos);
  // The number is echoed as XML text, never as markup.
  std::string hostile = Locate("<location>x</location>");
  EXPECT_EQ(hostile.find("<location>"), std::string::npos) << hostile;
  // The body really is GBK: the bytes of 北 in GBK are B1 B1.
  std::string raw = Get(kLookup, Target("/smartresult-xml/search.s", {{"type", "mobile"}, {"q", "13800000001"}})).body;
  EXPECT_NE(raw.find("\xb1\xb1\xbe\xa9"), std::string::npos);
}

}  // namespace
}  // namespace svctest

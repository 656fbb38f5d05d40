// The contacts web server (8901) and the payment server (8902).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "seed.h"
#include "service_client.h"

namespace svctest {
namespace {

using qv::service::DemoCardOf;

class Contacts : public ::testing::Test {
 protected:
  void SetUp() override { ResetService(); }
};

std::string List(const std::string& uid, const std::string& sign = "") {
  return Get(kContacts, Target("/pcphone/getContacts.php", {{"uid", uid}, {"sign", sign.empty() ? Sign(uid) : sign}}))
      .body;
}

// The editor's save request.
std::string Save(const std::string& uid, const std::string& action, const std::string& name,
                 const std::string& phone, const std::string& id = "", const std::string& sign = "") {
  std::string cornet = phone.size() > 4 ? phone.substr(phone.size() - 4) : phone;
  Params params = {{"uid", uid}, {"sign", sign.empty() ? Sign(uid) : sign}, {"phone", phone},
                   {"cornet", cornet}, {"action", action}};
  if (action == "edit") params.push_back({"id", id});
  params.push_back({"username", name});
  return Get(kContacts, Target("/pcphone/addContacte.php", params)).body;
}

std::string Delete(const std::string& uid, const std::string& id, const std::string& sign = "") {
  return Get(kContacts, Target("/pcphone/deleteContacte.php",
                               {{"uid", uid}, {"sign", sign.empty() ? Sign(uid) : sign}, {"id", id}}))
      .body;
}

std::vector<std::string> Records(const std::string& list) {
  std::vector<std::string> records;
  size_t start = 0;
  while (start <= list.size() && !list.empty()) {
    size_t comma = list.find(',', start);
    records.push_back(list.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return records;
}

TEST_F(Contacts, ListIsNameNumberCornetIdRecords) {
  std::vector<std::string> records = Records(List("10001"));
  ASSERT_EQ(records.size(), 12u);
  EXPECT_EQ(records[0], "语音测试:600600:0600:1");
  EXPECT_EQ(records[1], "张伟:13912345678:5678:2");
  EXPECT_EQ(Records(List("10002")).size(), 3u);
  EXPECT_EQ(List("10005"), "");  // an empty address book
  EXPECT_EQ(List("10001", Sign("10002")), "-6");
  EXPECT_EQ(List("99999"), "-4");
  EXPECT_EQ(List("x"), "-4");
}

TEST_F(Contacts, AddEditDeleteBelongToTheSubscriber) {
  EXPECT_EQ(Save("10001", "add", "新朋友", "02012345678"), "操作成功");
  std::vector<std::string> records = Records(List("10001"));
  ASSERT_EQ(records.size(), 13u);
  std::string added = records.back();
  EXPECT_EQ(added.rfind("新朋友:02012345678:5678:", 0), 0u) << added;
  std::string id = added.substr(added.rfind(':') + 1);

  EXPECT_EQ(Save("10001", "edit", "老朋友", "13312345678", id), "操作成功");
  EXPECT_EQ(Records(List("10001")).back(), "老朋友:13312345678:5678:" + id);

  // Another subscriber can neither change nor delete it.
  EXPECT_EQ(Save("10002", "edit", "别人", "13312345678", id), "联系人不存在");
  EXPECT_EQ(Delete("10002", id), "F");
  EXPECT_EQ(Delete("10001", id, Sign("10002")), "F");

  EXPECT_EQ(Delete("10001", id), "Y");
  EXPECT_EQ(Delete("10001", id), "F");
  EXPECT_EQ(Records(List("10001")).size(), 12u);
  EXPECT_EQ(Delete("10001", ""), "F");
  EXPECT_EQ(Delete("10001", "abc"), "F");
}

TEST_F(Contacts, SaveRefusalsAreTextsForPeople) {
  struct Case {
    std::string action, name, phone, id, sign, reply;
  } cases[] = {
      {"add", "", "13312345678", "", "", "请输入联系人姓名！"},
      {"add", "小明", "", "", "", "请输入联系人电话号码"},
      {"add", "小明", "+8613312345678", "", "", "电话号码有非法字符！"},
      {"add", "小明", "133 1234", "", "", "电话号码有非法字符！"},
      {"add", "小明", "12", "", "", "电话号码长度应为3到22位"},
      {"add", "小明", std::string(23, '1'), "", "", "电话号码长度应为3到22位"},
      {"add", "小,明", "13312345678", "", "", "联系人姓名不能含有英文逗号或冒号"},
      {"add", "小:明", "13312345678", "", "", "联系人姓名不能含有英文逗号或冒号"},
      {"add", "小\n明", "13312345678", "", "", "联系人姓名含有非法字符"},
      {"add", std::string(33, 'a'), "13312345678", "", "", "联系人姓名不能超过32个字"},
      {"edit", "小明", "13312345678", "999", "", "联系人不存在"},
      {"edit", "小明", "13312345678", "", "", "联系人不存在"},
      {"remove", "小明", "13312345678", "", "", "参数错误"},
      {"add", "小明", "13312345678", "", Sign("10002"), "签名错误，请重新登录"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Save("10001", c.action, c.name, c.phone, c.id, c.sign), c.reply) << c.name << " " << c.phone;
  }
  EXPECT_EQ(Records(List("10001")).size(), 12u);
  // A name of 32 Chinese characters is fine.
  std::string longName;
  for (int i = 0; i < 32; ++i) longName += "名";
  EXPECT_EQ(Save("10001", "add", longName, "13312345678"), "操作成功");
}

TEST_F(Contacts, NamesWithQuotesAndSqlTextAreStoredAsTyped) {
  const std::string names[] = {"O'Brien", "\"引号\"", "Robert'); DROP TABLE contacts;--", "a&b=c%20#?", "😀表情"};
  for (const std::string& name : names) {
    EXPECT_EQ(Save("10001", "add", name, "13312345678"), "操作成功") << name;
    EXPECT_EQ(Records(List("10001")).back().rfind(name + ":13312345678:5678:", 0), 0u) << name;
  }
  EXPECT_EQ(Records(List("10001")).size(), 17u);
}

TEST_F(Contacts, OffersPageIsChineseHtml) {
  HttpReply page = Get(kContacts, "/pcphone/preferential.php");
  EXPECT_EQ(page.status, 200);
  EXPECT_NE(page.contentType.find("text/html"), std::string::npos);
  EXPECT_NE(page.body.find("优惠活动"), std::string::npos);
}

class Payment : public ::testing::Test {
 protected:
  void SetUp() override { ResetService(); }
};

// The recharge request of the account centre.
std::string Pay(const std::string& uid, const std::string& paytype, const std::string& goods,
                const std::string& money, const std::string& cardNo, const std::string& cardPwd,
                const std::string& sign = "", const std::string& src = "20") {
  return Get(kPay, Target("/recharge/service/pay.php", {{"src", src},
                                                          {"uid", uid},
                                                          {"paytype", paytype},
                                                          {"goodstype", goods},
                                                          {"money", money},
                                                          {"cardno", cardNo},
                                                          {"cardpwd", cardPwd},
                                                          {"sign", sign.empty() ? Sign(uid) : sign},
                                                          {"pv", "pc"},
                                                          {"v", "1.2"}}))
      .body;
}

std::string BalanceOf(const std::string& uid) {
  return Get(kApi, Target("/search_balance", {{"sign", Sign(uid)}, {"uid", uid}, {"pwd", "123456"}})).body;
}

TEST_F(Payment, CardRechargeAddsTheMoneyOnceAndMakesTheSubscriberRegular) {
  auto card = DemoCardOf("29", 1);  // 30 yuan
  EXPECT_EQ(Pay("10002", "29", "2", "30", card.number, card.password), "{\"result\":\"0\"}");
  EXPECT_EQ(Field(BalanceOf("10002"), "balance"), "35.00");
  EXPECT_EQ(Field(Get(kApi, Target("/user_type", {{"phone", "13900000002"}, {"sign", Sign("13900000002")}})).body,
                  "type"),
            "1");
  // The card is used up.
  EXPECT_EQ(Field(Pay("10002", "29", "2", "30", card.number, card.password), "result"), "-8");
  EXPECT_EQ(Field(Pay("10001", "29", "2", "30", card.number, card.password), "result"), "-8");
  EXPECT_EQ(Field(BalanceOf("10002"), "balance"), "35.00");

  auto own = DemoCardOf("98", 3);  // 100 yuan, the service's own card
  EXPECT_EQ(Field(Pay("10001", "98", "2", "100", own.number, own.password), "result"), "0");
  EXPECT_EQ(Field(BalanceOf("10001"), "balance"), "158.60");

  // The recharge history shows both.
  std::string log = Get(kUserCentre, Target("/usercenter/mobile_chargelog.php",
                                            {{"phone", "13800000001"}, {"uid", "10001"}}))
                        .body;
  EXPECT_NE(log.find("Velto卡"), std::string::npos);
  EXPECT_NE(log.find("100.00元"), std::string::npos);
}

TEST_F(Payment, CardBuysAMonthlyPackage) {
  auto card = DemoCardOf("36", 2);  // 50 yuan Unicom card
  EXPECT_EQ(Field(Pay("10002", "36", "1", "50", card.number, card.password), "result"), "0");
  std::string balance = BalanceOf("10002");
  EXPECT_EQ(Field(balance, "package"), "product:18");
  EXPECT_EQ(Field(balance, "month_left_time"), "590");
  EXPECT_EQ(Field(balance, "balance"), "5.00");
  auto big = DemoCardOf("29", 4);  // 300 yuan
  EXPECT_EQ(Field(Pay("10002", "29", "1", "300", big.number, big.password), "result"), "0");
  EXPECT_EQ(Field(BalanceOf("10002"), "package"), "product:13");
}

TEST_F(Payment, EveryRefusalCode) {
  auto mobile = DemoCardOf("29", 1);   // 30
  auto unicom = DemoCardOf("36", 1);   // 30
  auto own = DemoCardOf("98", 1);      // 30
  struct Case {
    std::string uid, paytype, goods, money, cardNo, cardPwd, sign, src, result;
  } cases[] = {
      {"99999", "29", "2", "30", mobile.number, mobile.password, "", "20", "-3"},
      {"10001", "29", "2", "30", mobile.number, mobile.password, Sign("10002"), "20", "-3"},
      {"10006", "29", "2", "30", mobile.number, mobile.password, "", "20", "-3"},   // closed
      {"10001", "29", "2", "30", mobile.number, mobile.password, "", "21", "-4"},
      {"10001", "30", "2", "30", mobile.number, mobile.password, "", "20", "-4"},
      {"10001", "29", "3", "30", mobile.number, mobile.password, "", "20", "-4"},
      {"10001", "98", "1", "30", own.number, own.password, "", "20", "-4"},        // own card, package
      {"10001", "29", "2", "", mobile.number, mobile.password, "", "20", "-5"},
      {"10001", "29", "2", "3O", mobile.number, mobile.password, "", "20", "-5"},
      {"10001", "29", "2", "0", mobile.number, mobile.password, "", "20", "-5"},
      {"10001", "29", "2", "50", mobile.number, mobile.password, "", "20", "-5"},  // not the card's value
      {"10001", "29", "1", "40", mobile.number, mobile.password, "", "20", "-5"},  // no such package
      {"10001", "29", "2", "30", mobile.number.substr(1), mobile.password, "", "20", "-6"},
      {"10001", "36", "2", "30", mobile.number, unicom.password, "", "20", "-6"},  // 17 digits for Unicom
      {"10001", "98", "2", "30", own.number + "0", own.password, "", "20", "-6"},
      {"10001", "29", "2", "30", "2900000000000000x", mobile.password, "", "20", "-6"},
      {"10001", "29", "2", "30", mobile.number, mobile.password + "1", "", "20", "-7"},
      {"10001", "36", "2", "30", unicom.number, unicom.password.substr(1), "", "20", "-7"},
      {"10001", "98", "2", "30", own.number, "80000a", "", "20", "-7"},
      {"10001", "29", "2", "30", "29999999999999999", mobile.password, "", "20", "-8"},
      {"10001", "29", "2", "30", mobile.number, "800000000000000009", "", "20", "-8"},
      {"10001", "36", "2", "30", std::string("29") + std::string(13, '0'), unicom.password, "", "20", "-8"},
  };
  for (const Case& c : cases) {
    std::string reply = Pay(c.uid, c.paytype, c.goods, c.money, c.cardNo, c.cardPwd, c.sign, c.src);
    EXPECT_EQ(Field(reply, "result"), c.result)
        << c.uid << " " << c.paytype << " " << c.goods << " " << c.money << " " << c.cardNo << ": " << reply;
  }
  // Nothing was spent by the refusals.
  EXPECT_EQ(Field(BalanceOf("10001"), "balance"), "58.60");
  EXPECT_EQ(Field(Pay("10001", "29", "2", "30", mobile.number, mobile.password), "result"), "0");
}

}  // namespace
}  // namespace svctest

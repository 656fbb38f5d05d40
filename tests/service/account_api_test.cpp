// The account API server and the message server, port 8899, in the
// phone's request forms.
#include <gtest/gtest.h>

#include "service_client.h"

namespace svctest {
namespace {

const std::string kRegular = "13800000001";   // uid 10001, package, 58.60
const std::string kTrial = "13900000002";     // uid 10002, 5.00
const std::string kFrozen = "13700000003";    // uid 10003
const std::string kExpired = "13600000004";   // uid 10004
const std::string kNoMoney = "13500000005";   // uid 10005
const std::string kClosed = "13400000006";    // uid 10006
const std::string kPassword = "123456";

class AccountApi : public ::testing::Test {
 protected:
  void SetUp() override { ResetService(); }
};

// The login request of the login window.
std::string Login(const std::string& phone, const std::string& password,
                  const std::string& sign = "") {
  return Get(kApi, Target("/reg", {{"phone", phone},
                                   {"pwd", Scramble(password)},
                                   {"agent_id", "-1"},
                                   {"sign", sign.empty() ? Sign(phone) : sign},
                                   {"pv", "pc"},
                                   {"v", "1.2"}}))
      .body;
}

std::string Register(const std::string& phone, const std::string& password,
                     const std::string& agent = "", const std::string& sign = "") {
  return Get(kApi, Target("/reg", {{"phone", phone},
                                   {"pwd", Scramble(password)},
                                   {"agent_id", agent},
                                   {"sign", sign.empty() ? Sign(phone) : sign},
                                   {"pv", "pc"},
                                   {"v", "1.2"}}))
      .body;
}

std::string Callback(const std::string& uid, const std::string& password, const std::string& called,
                     const std::string& sign = "") {
  return Get(kApi, Target("/call", {{"uid", uid},
                                    {"pwd", Scramble(password)},
                                    {"called", called},
                                    {"pv", "pc"},
                                    {"v", "1.2"},
                                    {"sign", sign.empty() ? Sign(uid) : sign}}))
      .body;
}

std::string Balance(const std::string& uid, const std::string& plain, const std::string& sign = "") {
  return Get(kApi, Target("/search_balance",
                          {{"sign", sign.empty() ? Sign(uid) : sign}, {"uid", uid}, {"pwd", plain}}))
      .body;
}

std::string UserType(const std::string& phone, const std::string& sign = "") {
  return Get(kApi, Target("/user_type", {{"phone", phone}, {"sign", sign.empty() ? Sign(phone) : sign}})).body;
}

std::string ChangePhone(const std::string& oldPhone, const std::string& newPhone, const std::string& password,
                        const std::string& sign = "") {
  return Get(kApi, Target("/change_phone", {{"old_phone", oldPhone},
                                            {"new_phone", newPhone},
                                            {"pwd", Scramble(password)},
                                            {"sign", sign.empty() ? Sign(oldPhone) : sign}}))
      .body;
}

std::string ChangePwd(const std::string& phone, const std::string& oldPwd, const std::string& newPwd,
                      const std::string& sign = "") {
  return Get(kApi, Target("/change_pwd", {{"phone", phone},
                                          {"old_pwd", Scramble(oldPwd)},
                                          {"new_pwd", Scramble(newPwd)},
                                          {"sign", sign.empty() ? Sign(phone) : sign}}))
      .body;
}

TEST_F(AccountApi, LoginAnswersTheResultOfEveryCase) {
  struct Case {
    std::string phone, password, sign, result;
  } cases[] = {
      {kRegular, kPassword, "", "0"},
      {kTrial, kPassword, "", "0"},
      {kRegular, "654321", "", "-2"},
      {kRegular, "", "", "-2"},
      {"13811112222", kPassword, "", "-3"},   // no such account
      {"1380000000", kPassword, "", "-3"},    // ten digits
      {"23800000001", kPassword, "", "-3"},   // not a mobile number
      {kClosed, kPassword, "", "-3"},
      {kFrozen, kPassword, "", "-1"},
      {kRegular, kPassword, Sign(kTrial), "-6"},
      {kRegular, kPassword, "0123456789abcdef0123456789abcdef", "-6"},
  };
  for (const Case& c : cases) {
    std::string reply = Login(c.phone, c.password, c.sign);
    EXPECT_EQ(Field(reply, "result"), c.result) << c.phone << " / " << c.password << ": " << reply;
  }
  EXPECT_EQ(Login(kRegular, kPassword), "{\"result\":\"0\",\"uid\":\"10001\"}");
  EXPECT_EQ(Field(Login(kTrial, kPassword), "uid"), "10002");
}

TEST_F(AccountApi, RegistrationCreatesATrialAccountThatCanLogIn) {
  std::string reply = Register("15811112222", "pass_word#1");
  ASSERT_EQ(Field(reply, "result"), "0") << reply;
  std::string uid = Field(reply, "uid");
  EXPECT_FALSE(uid.empty());
  reply = Login("15811112222", "pass_word#1");
  EXPECT_EQ(Field(reply, "result"), "0");
  EXPECT_EQ(Field(reply, "uid"), uid);
  EXPECT_EQ(Field(UserType("15811112222"), "type"), "0");
  reply = Balance(uid, "pass_word#1");
  EXPECT_EQ(Field(reply, "balance"), "5.00");
  EXPECT_EQ(Field(reply, "package"), "");
  // An agent's registration carries its number.
  EXPECT_EQ(Field(Register("15811113333", "secret", "1024"), "result"), "0");
  // The phone scrambles only the first 32 characters of a password, at the
  // registration and at every login alike.
  std::string longPassword(40, 'k');
  EXPECT_EQ(Field(Register("15811114444", longPassword), "result"), "0");
  EXPECT_EQ(Field(Login("15811114444", longPassword), "result"), "0");
}

TEST_F(AccountApi, RegistrationRefusals) {
  struct Case {
    std::string phone, password, agent, sign, result;
  } cases[] = {
      {kRegular, "secret", "", "", "-1"},          // the number has an account
      {"600600", "secret", "", "", "-3"},          // not a mobile number
      {"15811112222", "abcd", "", "", "-2"},       // too short
      {"15811112222", "pass word", "", "", "-2"},  // a space
      {"15811112222", "secret", "x1", "", "-1"},   // agent id not a number
      {"15811112222", "secret", "", Sign(kRegular), "-6"},
      {"1581111222a", "secret", "", "", "-3"},
  };
  for (const Case& c : cases) {
    std::string reply = Register(c.phone, c.password, c.agent, c.sign);
    EXPECT_EQ(Field(reply, "result"), c.result) << c.phone << " / " << c.password << ": " << reply;
  }
}

TEST_F(AccountApi, UserTypeTellsTrialFromRegular) {
  EXPECT_EQ(UserType(kRegular), "{\"result\":\"0\",\"type\":\"1\"}");
  EXPECT_EQ(Field(UserType(kTrial), "type"), "0");
  EXPECT_EQ(Field(UserType("15899998888"), "result"), "-4");
  EXPECT_EQ(Field(UserType(kClosed), "result"), "-4");
  std::string reply = UserType(kRegular, Sign(kTrial));
  EXPECT_EQ(Field(reply, "result"), "-6");
  EXPECT_EQ(Field(reply, "type"), "");
}

TEST_F(AccountApi, CallbackRequestRingsTheSubscriber) {
  EXPECT_EQ(Callback("10002", kPassword, "13912345678"), "{\"result\":\"0\"}");
  std::string rings = Control("rings");
  EXPECT_NE(rings.find("\"subscriber\":\"13900000002\",\"called\":\"13912345678\""), std::string::npos) << rings;
  // A fixed number with its area code, and a number of this service.
  EXPECT_EQ(Field(Callback("10002", kPassword, "01065529988"), "result"), "0");
  EXPECT_EQ(Field(Callback("10002", kPassword, "600600"), "result"), "0");
}

TEST_F(AccountApi, CallbackRequestRefusals) {
  struct Case {
    std::string uid, password, called, sign, result;
  } cases[] = {
      {"10002", "654321", "13912345678", "", "-2"},
      {"10002", kPassword, "65529988", "", "-3"},       // fixed number without area code
      {"10002", kPassword, "139123456", "", "-3"},      // too short for a mobile
      {"10002", kPassword, "1391234567a", "", "-3"},
      {"10002", kPassword, "", "", "-3"},
      {"10002", kPassword, "*139#", "", "-3"},
      {"99999", kPassword, "13912345678", "", "-4"},
      {"abc", kPassword, "13912345678", "", "-4"},
      {"10006", kPassword, "13912345678", "", "-7"},    // closed
      {"10004", kPassword, "13912345678", "", "-8"},    // expired
      {"10005", kPassword, "13912345678", "", "-9"},    // no money
      {"10003", kPassword, "13912345678", "", "-10"},   // frozen
      {"10002", kPassword, "13912345678", Sign("10001"), "-6"},
  };
  for (const Case& c : cases) {
    std::string reply = Callback(c.uid, c.password, c.called, c.sign);
    EXPECT_EQ(Field(reply, "result"), c.result) << c.uid << " " << c.called << ": " << reply;
  }
  EXPECT_EQ(Control("rings"), "[]");
}

TEST_F(AccountApi, BalanceQueryReportsMoneyAndPackage) {
  std::string reply = Balance("10001", kPassword);
  EXPECT_EQ(Field(reply, "result"), "0") << reply;
  EXPECT_EQ(Field(reply, "balance"), "58.60");
  EXPECT_EQ(Field(reply, "package"), "product:18");
  EXPECT_EQ(Field(reply, "month_left_time"), "372");
  EXPECT_EQ(Field(reply, "validate").size(), 10u);           // YYYY-MM-DD
  EXPECT_EQ(Field(reply, "exp_time").size(), 19u) << reply;  // YYYY-MM-DD HH:MM:SS
  reply = Balance("10002", kPassword);
  EXPECT_EQ(Field(reply, "balance"), "5.00");
  EXPECT_EQ(Field(reply, "package"), "");

  EXPECT_EQ(Field(Balance("10001", "654321"), "result"), "-2");
  EXPECT_EQ(Field(Balance("10001", Scramble(kPassword)), "result"), "-2");  // plain, not scrambled
  EXPECT_EQ(Field(Balance("10001", kPassword, Sign("10002")), "result"), "-6");
  EXPECT_EQ(Field(Balance("77777", kPassword), "result"), "-4");
  EXPECT_EQ(Field(Balance("10006", kPassword), "result"), "-4");
}

TEST_F(AccountApi, ChangeOfNumberMovesTheAccount) {
  EXPECT_EQ(ChangePhone(kRegular, "15012340000", kPassword), "{\"result\":\"0\"}");
  EXPECT_EQ(Field(Login("15012340000", kPassword), "uid"), "10001");
  EXPECT_EQ(Field(Login(kRegular, kPassword), "result"), "-3");
  EXPECT_EQ(Field(UserType("15012340000"), "type"), "1");
  // The old number is free for someone else.
  EXPECT_EQ(Field(Register(kRegular, "another"), "result"), "0");
}

TEST_F(AccountApi, ChangeOfNumberRefusals) {
  struct Case {
    std::string oldPhone, newPhone, password, sign, result;
  } cases[] = {
      {kRegular, "15012340000", "654321", "", "-2"},
      {kRegular, "1501234000", kPassword, "", "-3"},
      {kRegular, "abc", kPassword, "", "-3"},
      {kRegular, kTrial, kPassword, "", "-4"},
      {kRegular, kRegular, kPassword, "", "-4"},
      {kNoMoney, "15012340000", kPassword, "", "-5"},
      {kRegular, "15012340000", kPassword, Sign(kTrial), "-6"},
      {"15899990000", "15012340000", kPassword, "", "-1"},
      {kFrozen, "15012340000", kPassword, "", "-1"},
  };
  for (const Case& c : cases) {
    std::string reply = ChangePhone(c.oldPhone, c.newPhone, c.password, c.sign);
    EXPECT_EQ(Field(reply, "result"), c.result) << c.oldPhone << " -> " << c.newPhone << ": " << reply;
  }
  EXPECT_EQ(Field(Login(kRegular, kPassword), "result"), "0");
}

TEST_F(AccountApi, ChangeOfPasswordTakesEffectAtOnce) {
  EXPECT_EQ(ChangePwd(kRegular, kPassword, "n3w-Pass"), "{\"result\":\"0\"}");
  EXPECT_EQ(Field(Login(kRegular, "n3w-Pass"), "result"), "0");
  EXPECT_EQ(Field(Login(kRegular, kPassword), "result"), "-2");
  EXPECT_EQ(Field(Balance("10001", "n3w-Pass"), "result"), "0");
}

TEST_F(AccountApi, ChangeOfPasswordRefusals) {
  struct Case {
    std::string phone, oldPwd, newPwd, sign, result;
  } cases[] = {
      {kRegular, "654321", "abcdef", "", "-2"},
      {kRegular, kPassword, "abcd", "", "-3"},
      {kRegular, kPassword, "", "", "-3"},
      {kRegular, kPassword, "with space", "", "-3"},
      {"15899990000", kPassword, "abcdef", "", "-4"},
      {kFrozen, kPassword, "abcdef", "", "-4"},
      {kRegular, kPassword, "abcdef", Sign(kTrial), "-6"},
  };
  for (const Case& c : cases) {
    std::string reply = ChangePwd(c.phone, c.oldPwd, c.newPwd, c.sign);
    EXPECT_EQ(Field(reply, "result"), c.result) << c.phone << " " << c.newPwd << ": " << reply;
  }
  EXPECT_EQ(Field(Login(kRegular, kPassword), "result"), "0");
}

TEST_F(AccountApi, UpdateNoticeIsOffUntilSwitchedOn) {
  std::string target = Target("/msglist", {{"sc", "52037725"}, {"pv", "PC"}, {"v", "1.2"}});
  EXPECT_EQ(Get(kApi, target).body, "{\"result\":\"0\",\"update_addr\":\"\"}");
  Control("notice", {{"enabled", "1"}});
  EXPECT_EQ(Field(Get(kApi, target).body, "update_addr"), "http://127.0.0.1:8905/");
  Control("notice", {{"enabled", "0"}});
  EXPECT_EQ(Field(Get(kApi, target).body, "update_addr"), "");
  EXPECT_EQ(Field(Get(kApi, Target("/msglist", {{"sc", "1"}, {"pv", "PC"}, {"v", "1.2"}})).body, "result"), "-1");
}

}  // namespace
}  // namespace svctest

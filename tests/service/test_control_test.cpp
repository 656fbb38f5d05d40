// The test control: scripted replies, the requests received, the reset;
// and the phone's own fetcher against each scripted misbehaviour.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "service_client.h"
#include "storage/hooks.h"
#include "storage/text.h"
#include "web/http_get.h"

namespace svctest {
namespace {

class TestControl : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetService();
    qv::SetMessageHook([this](qv::MessageOwner, const std::u16string& text) {
      std::lock_guard<std::mutex> lock(mutex_);
      messages_.push_back(qv::ToUtf8(text));
    });
  }
  void TearDown() override {
    qv::SetMessageHook(nullptr);
    Control("scripts/clear");
  }
  std::vector<std::string> Messages() {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_;
  }

  std::mutex mutex_;
  std::vector<std::string> messages_;
};

const std::string kUserType = "/user_type?phone=13800000001&sign=" + Sign("13800000001");

std::string PhoneFetch(int port, const std::string& target) {
  return qv::ToUtf8(qv::HttpGet("http://127.0.0.1:" + std::to_string(port) + target));
}

TEST_F(TestControl, ScriptedResultIsTheNextReplyOnly) {
  EXPECT_EQ(Control("script", {{"path", "/user_type"}, {"result", "-10"}}), "OK");
  EXPECT_EQ(Get(kApi, kUserType).body, "{\"result\":\"-10\"}");
  EXPECT_EQ(Get(kApi, kUserType).body, "{\"result\":\"0\",\"type\":\"1\"}");
  // times=2, and a script for one port leaves the others alone.
  Control("script", {{"path", "/user_type"}, {"body", "anything"}, {"times", "2"}, {"port", "8899"}});
  Control("script", {{"path", "/"}, {"body", "not the mobile site"}, {"port", "8905"}});
  EXPECT_EQ(Get(kApi, kUserType).body, "anything");
  EXPECT_EQ(Get(kApi, kUserType).body, "anything");
  EXPECT_EQ(Field(Get(kApi, kUserType).body, "type"), "1");
  EXPECT_NE(Get(kMobile, "/").body.find("资费说明"), std::string::npos);
  EXPECT_EQ(Get(kSite, "/").body, "not the mobile site");
}

TEST_F(TestControl, StatusGarbageAndPadding) {
  Control("script", {{"path", "/user_type"}, {"status", "500"}});
  HttpReply error = Get(kApi, kUserType);
  EXPECT_EQ(error.status, 500);
  EXPECT_EQ(error.body, "{\"result\":\"0\",\"type\":\"1\"}");  // the real body under an error status

  Control("script", {{"path", "/user_type"}, {"garbage", "3000"}});
  HttpReply garbage = Get(kApi, kUserType);
  EXPECT_EQ(garbage.body.size(), 3000u);
  EXPECT_NE(garbage.body.find('\0'), std::string::npos);

  Control("script", {{"path", "/search_balance"}, {"size", "1500"}});
  std::string padded =
      Get(kApi, Target("/search_balance", {{"sign", Sign("10001")}, {"uid", "10001"}, {"pwd", "123456"}})).body;
  EXPECT_EQ(padded.size(), 1500u);
  EXPECT_EQ(Field(padded, "balance"), "58.60");  // still the real fields, one more at the end
  EXPECT_EQ(padded.back(), '}');
}

TEST_F(TestControl, DelayThenTheRealReply) {
  Control("script", {{"path", "/user_type"}, {"delay_ms", "400"}});
  auto start = std::chrono::steady_clock::now();
  HttpReply reply = Get(kApi, kUserType);
  auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed, std::chrono::milliseconds(400));
  EXPECT_EQ(Field(reply.body, "type"), "1");
}

TEST_F(TestControl, ThePhonesFetcherAgainstEachMisbehaviour) {
  // A reply cut off after the headers: an empty text, and no message
  // because the server was reached.
  Control("script", {{"path", "/user_type"}, {"close", "1"}});
  EXPECT_EQ(PhoneFetch(kApi, kUserType), "");
  // Over a megabyte: a failed fetch, never a partial one.
  Control("script", {{"path", "/user_type"}, {"size", std::to_string((1 << 20) + 10)}});
  EXPECT_EQ(PhoneFetch(kApi, kUserType), "");
  // Garbage arrives up to its first zero byte, decoded with U+FFFD.
  Control("script", {{"path", "/user_type"}, {"garbage", "64"}});
  std::string garbage = PhoneFetch(kApi, kUserType);
  EXPECT_EQ(Field(garbage, "result"), "");
  // A scripted code goes through the phone's reader like a real one.
  Control("script", {{"path", "/user_type"}, {"result", "-6"}});
  EXPECT_EQ(Field(PhoneFetch(kApi, kUserType), "result"), "-6");
  EXPECT_EQ(Field(PhoneFetch(kApi, kUserType), "type"), "1");
  EXPECT_TRUE(Messages().empty());
}

TEST_F(TestControl, RequestsReceivedAreReadBackDecoded) {
  Control("requests/clear");
  Get(kContacts, Target("/pcphone/addContacte.php", {{"uid", "10001"}, {"sign", Sign("10001")}, {"phone", "123"},
                                                     {"cornet", "123"}, {"action", "add"},
                                                     {"username", "李 & 王"}}));
  std::string all = Control("requests");
  EXPECT_NE(all.find("\"port\":8901"), std::string::npos) << all;
  EXPECT_NE(all.find("\"path\":\"/pcphone/addContacte.php\""), std::string::npos);
  EXPECT_NE(all.find("\"username\":\"李 & 王\""), std::string::npos);
  EXPECT_NE(all.find("username=%E6%9D%8E%20%26%20%E7%8E%8B"), std::string::npos);  // the target as sent
  EXPECT_EQ(Control("requests", {{"path", "/reg"}}), "[]");
  std::string after = Control("requests", {{"after", "1000000"}});
  EXPECT_EQ(after, "[]");
}

TEST_F(TestControl, ResetBringsBackTheDemoData) {
  Get(kApi, Target("/change_pwd", {{"phone", "13800000001"}, {"old_pwd", Scramble("123456")},
                                   {"new_pwd", Scramble("changed1")}, {"sign", Sign("13800000001")}}));
  Get(kContacts, Target("/pcphone/deleteContacte.php", {{"uid", "10001"}, {"sign", Sign("10001")}, {"id", "2"}}));
  EXPECT_EQ(Control("reset"), "OK");
  std::string login = Get(kApi, Target("/reg", {{"phone", "13800000001"}, {"pwd", Scramble("123456")},
                                                {"agent_id", "-1"}, {"sign", Sign("13800000001")},
                                                {"pv", "pc"}, {"v", "1.2"}}))
                          .body;
  EXPECT_EQ(Field(login, "result"), "0");
  std::string list =
      Get(kContacts, Target("/pcphone/getContacts.php", {{"uid", "10001"}, {"sign", Sign("10001")}})).body;
  EXPECT_NE(list.find("张伟:13912345678:5678:2"), std::string::npos);
  EXPECT_EQ(Control("unknown"), "unknown control command");
}

}  // namespace
}  // namespace svctest

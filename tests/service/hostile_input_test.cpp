// Whatever a client sends is refused cleanly: no crash, no stored damage,
// and the service keeps answering. Also many clients at once.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "service_client.h"

namespace svctest {
namespace {

class HostileInput : public ::testing::Test {
 protected:
  void SetUp() override { ResetService(); }
};

const std::string kLogin = "/reg?phone=13800000001&agent_id=-1&pv=pc&v=1.2&sign=" + Sign("13800000001") + "&pwd=";

bool ServiceStillWell() {
  std::string login = Get(kApi, kLogin + Scramble("123456")).body;
  std::string contacts =
      Get(kContacts, Target("/pcphone/getContacts.php", {{"uid", "10001"}, {"sign", Sign("10001")}})).body;
  return Field(login, "uid") == "10001" && contacts.rfind("语音测试:600600:0600:1,", 0) == 0;
}

TEST_F(HostileInput, RefusedWithTheirPathsOwnCodes) {
  const std::string u1 = Sign("10001");
  struct Case {
    int port;
    std::string target;  // raw, as it goes on the wire
    int status;
    std::string body;    // the exact reply
  } cases[] = {
      // Invalid UTF-8, overlong forms and lone surrogates in values or keys.
      {kApi, kLogin + "%FF%FE", 200, "{\"result\":\"-1\"}"},
      {kApi, kLogin + "%C0%AF", 200, "{\"result\":\"-1\"}"},
      {kApi, kLogin + "%ED%A0%80", 200, "{\"result\":\"-1\"}"},
      {kApi, "/user_type?ph%FFone=1&phone=13800000001&sign=" + Sign("13800000001"), 200, "{\"result\":\"-4\"}"},
      {kApi, "/search_balance?uid=10001&sign=" + u1 + "&pwd=%80", 200, "{\"result\":\"-4\"}"},
      {kContacts, "/pcphone/addContacte.php?uid=10001&sign=" + u1 + "&phone=123&action=add&username=%E5%BC", 200,
       "参数错误"},
      {kContacts, "/pcphone/getContacts.php?uid=10001&sign=" + u1 + "&x=%FF", 200, "-3"},
      {kPay, "/recharge/service/pay.php?src=20&uid=10001&sign=" + u1 + "&cardno=%FF", 200, "{\"result\":\"-4\"}"},
      // A value far longer than any real one.
      {kApi, kLogin + std::string(600, 'a'), 200, "{\"result\":\"-1\"}"},
      {kContacts, "/pcphone/deleteContacte.php?uid=10001&sign=" + u1 + "&id=" + std::string(600, '1'), 200, "F"},
      // Quotes and SQL text where numbers belong.
      {kApi, "/reg?phone=13800000001'%20OR%20'1'='1&agent_id=-1&sign=x&pwd=x", 200, "{\"result\":\"-6\"}"},
      {kApi, "/search_balance?uid=10001%20OR%201=1&sign=" + u1 + "&pwd=123456", 200, "{\"result\":\"-4\"}"},
      {kContacts, "/pcphone/deleteContacte.php?uid=10001&sign=" + u1 + "&id=1%20OR%201=1", 200, "F"},
      {kContacts, "/pcphone/deleteContacte.php?uid=10001&sign=" + u1 + "&id=1;DELETE%20FROM%20contacts", 200, "F"},
      // Values with NUL bytes.
      {kApi, "/user_type?phone=13800000001%00&sign=" + Sign("13800000001"), 200, "{\"result\":\"-6\"}"},
  };
  for (const Case& c : cases) {
    HttpReply reply = Get(c.port, c.target);
    ASSERT_TRUE(reply.ok) << c.target.substr(0, 120);
    EXPECT_EQ(reply.status, c.status) << c.target.substr(0, 120);
    EXPECT_EQ(reply.body, c.body) << c.target.substr(0, 120);
  }
  EXPECT_TRUE(ServiceStillWell());
}

TEST_F(HostileInput, OneMegabyteValuesAreRefusedAndNothingBreaks) {
  std::string huge(1 << 20, 'A');
  const std::pair<int, std::string> cases[] = {
      {kApi, kLogin + huge},
      {kContacts, "/pcphone/addContacte.php?uid=10001&action=add&phone=123&username=" + huge},
      {kLookup, "/smartresult-xml/search.s?type=mobile&q=" + huge},
  };
  for (const auto& [port, target] : cases) {
    HttpReply reply = Get(port, target);
    // The request line alone is too long: refused before any handler.
    if (reply.ok) {
      EXPECT_GE(reply.status, 400);
    }
  }
  EXPECT_TRUE(ServiceStillWell());
}

TEST_F(HostileInput, RawBytesAndBrokenRequestLines) {
  const std::string raw[] = {
      "GET /reg?phone=\xff\xfe HTTP/1.1\r\nHost: x\r\n\r\n",
      "GET /\x01\x02 HTTP/1.1\r\n\r\n",
      "NONSENSE\r\n\r\n",
      std::string("GET /reg HTTP/1.1\r\nX: ") + std::string(100000, 'h') + "\r\n\r\n",
      "GET /reg HTTP/1.1\r\nContent-Length: -5\r\n\r\n",
  };
  for (const std::string& request : raw) {
    int sock = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(sock, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(kApi);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(connect(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ssize_t sent = send(sock, request.data(), request.size(), MSG_NOSIGNAL);
    (void)sent;
    shutdown(sock, SHUT_WR);
    char buffer[4096];
    timeval timeout{20, 0};
    setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    while (recv(sock, buffer, sizeof buffer, 0) > 0) {
    }
    close(sock);
  }
  EXPECT_TRUE(ServiceStillWell());
}

TEST_F(HostileInput, ManyClientsAtOnceEachGetTheirOwnAnswer) {
  // Logins of two accounts, balance queries and contact lists interleaved
  // from 16 threads, as the phone's worker threads send them.
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 16; ++t) {
    threads.emplace_back([t, &wrong] {
      for (int i = 0; i < 40; ++i) {
        bool regular = (t + i) % 2 == 0;
        std::string phone = regular ? "13800000001" : "13900000002";
        std::string uid = regular ? "10001" : "10002";
        std::string login = Get(kApi, Target("/reg", {{"phone", phone}, {"pwd", Scramble("123456")},
                                                      {"agent_id", "-1"}, {"sign", Sign(phone)},
                                                      {"pv", "pc"}, {"v", "1.2"}}))
                                .body;
        std::string balance =
            Get(kApi, Target("/search_balance", {{"sign", Sign(uid)}, {"uid", uid}, {"pwd", "123456"}})).body;
        std::string list =
            Get(kContacts, Target("/pcphone/getContacts.php", {{"uid", uid}, {"sign", Sign(uid)}})).body;
        if (Field(login, "uid") != uid) ++wrong;
        if (Field(balance, "balance") != (regular ? "58.60" : "5.00")) ++wrong;
        if (list.find(regular ? "孙丽" : "演示正式用户") == std::string::npos) ++wrong;
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(wrong.load(), 0);
}

}  // namespace
}  // namespace svctest

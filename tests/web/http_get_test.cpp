#include "web/http_get.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "message_recorder.h"
#include "storage/text.h"
#include "test_http_server.h"
#include "web/reply_field.h"
#include "web/url.h"

namespace qv {
namespace {

using test::MessageRecorder;
using test::TestHttpServer;

std::string Repeat(char c, size_t n) { return std::string(n, c); }

class HttpGetTest : public ::testing::Test {
 protected:
  void SetUp() override { SetHttpTimeouts({std::chrono::milliseconds(2000), std::chrono::milliseconds(4000)}); }

  TestHttpServer server_;
  MessageRecorder recorder_;
};

struct BodyCase {
  const char* name;
  std::string body;
  std::u16string expected;
};

TEST_F(HttpGetTest, ReturnsTheWholeBodyUpToItsFirstZeroByte) {
  const std::string ascii1023 = Repeat('a', 1023);
  const std::string ascii1500 = Repeat('b', 1500);
  const std::string exactlyMax = Repeat('c', kMaxReplyBytes);
  const std::string withZero("result:0\0tail", 13);
  const std::vector<BodyCase> cases = {
      {"exactly-1023", ascii1023, Widen(ascii1023)},
      {"1500", ascii1500, Widen(ascii1500)},
      {"exactly-max", exactlyMax, Widen(exactlyMax)},
      {"zero-byte", withZero, u"result:0"},
      {"utf8", "{\"name\":\"张三\"}", u"{\"name\":\"张三\"}"},
      {"cut-utf8", "ok\xE5\xBC", u"ok\uFFFD"},
      {"empty", "", u""},
  };
  for (const auto& c : cases) {
    server_.Route(std::string("/") + c.name, TestHttpServer::Response(200, c.body));
  }
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(HttpGet(server_.Url(std::string("/") + c.name), ""), c.expected);
  }
  EXPECT_TRUE(recorder_.messages().empty());
}

TEST_F(HttpGetTest, AnAddressBookReplyLongerThan1023BytesKeepsItsLastRecord) {
  std::string reply = "{\"result\":\"0\",\"list\":[";
  for (int i = 0; i < 40; ++i) {
    reply += "{\"id\":\"" + std::to_string(i) + "\",\"name\":\"联系人" + std::to_string(i) +
             "\",\"phone\":\"1380000" + std::to_string(1000 + i) + "\"},";
  }
  reply += "{\"id\":\"last\",\"name\":\"最后\",\"phone\":\"13912345678\"}]}";
  ASSERT_GT(reply.size(), 1023u);
  server_.Route("/pcphone/getContacts.php", TestHttpServer::Response(200, reply));
  const std::u16string text = HttpGet(server_.Url("/pcphone/getContacts.php"), "");
  EXPECT_EQ(text, FromUtf8(reply));
  EXPECT_NE(text.find(u"13912345678"), std::u16string::npos);
}

TEST_F(HttpGetTest, ABodyOverTheLimitIsAFailedFetchWithoutMessage) {
  server_.Route("/big", TestHttpServer::Response(200, Repeat('x', kMaxReplyBytes + 1)));
  // Without a length the body ends when the connection closes.
  server_.Route("/big-unannounced", "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + Repeat('y', 3 * kMaxReplyBytes));
  EXPECT_EQ(HttpGet(server_.Url("/big"), ""), u"");
  EXPECT_EQ(HttpGet(server_.Url("/big-unannounced"), ""), u"");
  EXPECT_TRUE(recorder_.messages().empty());
}

TEST_F(HttpGetTest, AnErrorPageIsReturnedLikeAnyReply) {
  server_.Route("/missing", TestHttpServer::Response(404, "<html><body>404 Not Found</body></html>"));
  const std::u16string text = HttpGet(server_.Url("/missing"), "");
  EXPECT_EQ(text, u"<html><body>404 Not Found</body></html>");
  EXPECT_EQ(ReplyField(text, u"result"), u"");
  EXPECT_TRUE(recorder_.messages().empty());
}

TEST_F(HttpGetTest, DecodesByTheEncodingNameComparedExactly) {
  // "北京 移动" in GBK, as the number lookup service answers.
  const std::string gbk = "<location>\xB1\xB1\xBE\xA9 \xD2\xC6\xB6\xAF</location>";
  server_.Route("/lookup", TestHttpServer::Response(200, gbk));
  EXPECT_EQ(HttpGet(server_.Url("/lookup"), "GBK"), u"<location>北京 移动</location>");
  EXPECT_EQ(HttpGet(server_.Url("/lookup"), "gbk"), u"");
  EXPECT_EQ(HttpGet(server_.Url("/lookup"), "UTF-8"), u"");
  // Read as UTF-8, the GBK bytes are invalid sequences.
  EXPECT_NE(HttpGet(server_.Url("/lookup"), "").find(u'\uFFFD'), std::u16string::npos);
  EXPECT_EQ(server_.Requests().size(), 4u);  // the request is made for any name
  EXPECT_TRUE(recorder_.messages().empty());
}

TEST_F(HttpGetTest, SendsTheAgentNameAndTheUrlAsBuilt) {
  const std::string url =
      BuildUrl(server_.Url(""), "/reg", {{"phone", u"13800000001"}, {"pwd", u"a&b#c%d+e f中"}});
  server_.Route(url.substr(server_.Url("").size()), TestHttpServer::Response(200, "{\"result\":\"0\"}"));
  EXPECT_EQ(ReplyField(HttpGet(url, ""), u"result"), u"0");
  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].rfind("GET /reg?phone=13800000001&pwd=a%26b%23c%25d%2Be%20f%E4%B8%AD HTTP/1.1\r\n", 0), 0u)
      << requests[0];
  EXPECT_NE(requests[0].find("\r\nUser-Agent: UrlTest\r\n"), std::string::npos) << requests[0];
}

TEST_F(HttpGetTest, AClosedPortGivesEmptyTextAndOneMessage) {
  const std::string url = "http://127.0.0.1:" + std::to_string(test::ClosedPort()) + "/reg";
  EXPECT_EQ(HttpGet(url, ""), u"");
  EXPECT_EQ(recorder_.messages(), std::vector<std::u16string>{u"网络连接失败"});
  EXPECT_EQ(HttpGet(url, "GBK"), u"");
  EXPECT_EQ(recorder_.messages().size(), 2u);
}

TEST_F(HttpGetTest, AnUnusableUrlGivesEmptyTextAndOneMessage) {
  EXPECT_EQ(HttpGet("file:///etc/passwd", ""), u"");
  EXPECT_EQ(HttpGet("not a url", ""), u"");
  EXPECT_EQ(recorder_.messages().size(), 2u);
}

TEST_F(HttpGetTest, AServerThatNeverAnswersTimesOut) {
  SetHttpTimeouts({std::chrono::milliseconds(1000), std::chrono::milliseconds(1500)});
  server_.RouteSilent("/call");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(HttpGet(server_.Url("/call"), ""), u"");
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_LT(elapsed, std::chrono::seconds(30));
  EXPECT_EQ(recorder_.messages(), std::vector<std::u16string>{u"网络连接失败"});
}

TEST_F(HttpGetTest, AReplyBrokenOffAfterItsHeadersIsEmptyWithoutMessage) {
  server_.Route("/cut", "HTTP/1.1 200 OK\r\nContent-Length: 100\r\nConnection: close\r\n\r\nresult:0");
  EXPECT_EQ(HttpGet(server_.Url("/cut"), ""), u"");
  EXPECT_TRUE(recorder_.messages().empty());
}

TEST_F(HttpGetTest, SimultaneousFailuresShowOneMessageEach) {
  const std::string url = "http://127.0.0.1:" + std::to_string(test::ClosedPort()) + "/search_balance";
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i) threads.emplace_back([&url] { EXPECT_EQ(HttpGet(url, ""), u""); });
  for (auto& t : threads) t.join();
  EXPECT_EQ(recorder_.messages().size(), 4u);
}

}  // namespace
}  // namespace qv

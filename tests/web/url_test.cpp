#include "web/url.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "web/service_hosts.h"

namespace qv {
namespace {

TEST(PercentEncode, KeepsOnlyUnreservedCharacters) {
  const struct {
    std::u16string in;
    std::string out;
  } cases[] = {
      {u"", ""},
      {u"AZaz09-._~", "AZaz09-._~"},
      {u"a&b", "a%26b"},
      {u"#%+ ", "%23%25%2B%20"},
      {u"=?/:,;'\"", "%3D%3F%2F%3A%2C%3B%27%22"},
      {u"张三", "%E5%BC%A0%E4%B8%89"},
      {u"\U0001F600", "%F0%9F%98%80"},
      {u"\xD800", "%EF%BF%BD"},  // an unpaired surrogate
  };
  for (const auto& c : cases) EXPECT_EQ(PercentEncode(c.in), c.out);
}

TEST(BuildUrl, KeysInTheGivenOrder) {
  EXPECT_EQ(BuildUrl("http://h:8899", "/reg", {{"phone", u"138"}, {"pwd", u"a b"}, {"sign", u"ff"}}),
            "http://h:8899/reg?phone=138&pwd=a%20b&sign=ff");
  EXPECT_EQ(BuildUrl("http://h", "/index/acct", {}), "http://h/index/acct");
  std::vector<UrlParam> params{{"type", u"mobile"}, {"q", u"13800000001"}};
  EXPECT_EQ(BuildUrl("http://h", "/smartresult-xml/search.s", params),
            "http://h/smartresult-xml/search.s?type=mobile&q=13800000001");
}

TEST(ServiceHosts, DefaultsAndEnvironmentOverrides) {
  unsetenv("QV_HOST_API");
  unsetenv("QV_HOST_CONTACTS");
  unsetenv("QV_SIP_DOMAIN");
  EXPECT_EQ(ServiceBase(Service::Api), "http://127.0.0.1:8899");
  EXPECT_EQ(ServiceBase(Service::Message), "http://127.0.0.1:8899");
  EXPECT_EQ(ServiceBase(Service::Contacts), "http://127.0.0.1:8901");
  EXPECT_EQ(ServiceHost(Service::Pay), "127.0.0.1:8902");
  EXPECT_EQ(ServiceHost(Service::UserCenter), "127.0.0.1:8903");
  EXPECT_EQ(ServiceHost(Service::Mobile), "127.0.0.1:8904");
  EXPECT_EQ(ServiceHost(Service::Site), "127.0.0.1:8905");
  EXPECT_EQ(ServiceHost(Service::Lookup), "127.0.0.1:8906");
  EXPECT_EQ(ServiceHost(Service::SipDomain), "127.0.0.1");
  setenv("QV_HOST_API", "api.example.test", 1);
  setenv("QV_HOST_CONTACTS", "10.0.0.2:80", 1);
  EXPECT_EQ(ServiceBase(Service::Api), "http://api.example.test:8899");
  EXPECT_EQ(ServiceBase(Service::Contacts), "http://10.0.0.2:80");
  unsetenv("QV_HOST_API");
  unsetenv("QV_HOST_CONTACTS");
}

}  // namespace
}  // namespace qv

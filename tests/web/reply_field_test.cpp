#include "web/reply_field.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

struct FieldCase {
  std::u16string text;
  std::u16string key;
  char16_t nameSeparator;
  std::u16string expected;
};

TEST(ReplyField, Table) {
  const FieldCase cases[] = {
      {u"{\"result\":\"0\",\"uid\":\"1001\"}", u"result", u':', u"0"},
      {u"{\"result\":\"0\",\"uid\":\"1001\"}", u"uid", u':', u"1001"},
      {u"{\"result\":\"0\",\"uid\":\"1001\"}", u"Result", u':', u""},
      {u"{\"result\":\"0\",\"uid\":1001}", u"uid", u':', u"1001"},
      {u"{\" result \":\" a b \"}", u"result", u':', u" a b "},
      {u"{\"re sult\":\"1\"}", u"result", u':', u"1"},
      {u"{\"time\":\"2013-01-01 12:00:00\"}", u"time", u':', u"2013-01-01 12:00:00"},
      {u"{\"msg\":\"a,b\",\"b\":\"x\"}", u"msg", u':', u"a"},
      {u"{\"msg\":\"a,b\"}", u"", u':', u"b"},  // the cut-off rest is an item of its own
      {u"{\"msg\":\"{[x]}\\\"y\"}", u"msg", u':', u"x\\y"},
      {u"{\"a\":\"1\",\"a\":\"2\"}", u"a", u':', u"1"},
      {u"x,word,y:1", u"word", u':', u""},
      {u"x:1,word,y:1", u"", u':', u"word"},
      {u"x:1,:v,y:1", u"", u':', u"v"},
      {u" :v", u"", u':', u"v"},
      {u"", u"result", u':', u""},
      {u"", u"", u':', u""},
      {u"{\"uid\":\"1\"}", u"result", u':', u""},
      {u",,,result:0,,", u"result", u':', u"0"},
      {u"result:", u"result", u':', u""},
      {u"result:a:b", u"result", u':', u"a:b"},
      {u"{\"list\":[{\"id\":\"7\",\"name\":\"张三\"},{\"id\":\"8\"}]}", u"name", u':', u"张三"},
      // The first item is "list:id:7": its name is "list".
      {u"{\"list\":[{\"id\":\"7\"},{\"id\":\"8\"}]}", u"id", u':', u"8"},
      {u"user=1,pwd=a=b,CalledListIndex=7", u"pwd", u'=', u"a=b"},
      {u"user=1,pwd=,x=2", u"pwd", u'=', u""},
      {u"calledUser=,phone=138,time=2013-05-07 09:03:05", u"time", u'=', u"2013-05-07 09:03:05"},
      {u"user:1", u"user", u'=', u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplyField(c.text, c.key, u',', c.nameSeparator), c.expected)
        << "key [" << std::string(c.key.begin(), c.key.end()) << "]";
  }
}

}  // namespace
}  // namespace qv

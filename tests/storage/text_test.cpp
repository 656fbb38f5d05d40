#include "storage/text.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <thread>
#include <vector>

namespace qv {
namespace {

TEST(FromUtf8, ValidAndInvalidSequences) {
  const struct {
    std::string in;
    std::u16string out;
  } cases[] = {
      {"", u""},
      {"abc", u"abc"},
      {"\xE4\xB8\xAD\xE6\x96\x87", u"中文"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"},
      {"\xC3\xA9", u"\u00E9"},
      {"a\xFF" "b", u"a\uFFFDb"},
      {"\xE4\xB8", u"\uFFFD"},               // cut multi-byte character: one replacement
      {"\xE4\xB8" "a", u"\uFFFDa"},
      {"\xC0\xAF", u"\uFFFD\uFFFD"},         // overlong
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
      {"\x80\x80", u"\uFFFD\uFFFD"},
      {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
  };
  for (const auto& c : cases) EXPECT_EQ(FromUtf8(c.in), c.out);
}

TEST(ToUtf8, RoundTripsAndReplacesUnpairedSurrogates) {
  EXPECT_EQ(ToUtf8(u"中文 abc \U0001F600"), "\xE4\xB8\xAD\xE6\x96\x87 abc \xF0\x9F\x98\x80");
  EXPECT_EQ(ToUtf8(u"a\xD800" "b"), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(ToUtf8(u"\xDC00"), "\xEF\xBF\xBD");
  EXPECT_EQ(FromUtf8(ToUtf8(u"提示：网络连接失败")), u"提示：网络连接失败");
}

TEST(Ansi, GbkBothWays) {
  EXPECT_EQ(ToAnsi(u"中文abc"), "\xD6\xD0\xCE\xC4" "abc");
  EXPECT_EQ(FromAnsi("\xD6\xD0\xCE\xC4" "abc"), u"中文abc");
  EXPECT_EQ(ToAnsi(u"1时2分5秒"), "1\xCA\xB1" "2\xB7\xD6" "5\xC3\xEB");
  EXPECT_EQ(FromAnsi(ToAnsi(u"张三,李四;王五")), u"张三,李四;王五");
  // Not representable in GBK: '?' per character (a surrogate pair is one).
  EXPECT_EQ(ToAnsi(u"a\U0001F600b\u0E01"), "a?b?");
  EXPECT_EQ(ToAnsi(u"\xD800"), "?");
  // Invalid GBK bytes: one replacement per byte, the rest decoded.
  EXPECT_EQ(FromAnsi("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(FromAnsi("\xD6"), u"\uFFFD");
  EXPECT_EQ(FromAnsi("\xD6" ","), u"\uFFFD,");
  EXPECT_EQ(FromAnsi(""), u"");
  EXPECT_EQ(ToAnsi(u""), "");
}

TEST(Ansi, WorksOnManyThreads) {
  std::vector<std::thread> threads;
  std::atomic<int> failures{0};
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&failures] {
      for (int i = 0; i < 500; ++i) {
        if (FromAnsi(ToAnsi(u"通话中 响铃 等待接通")) != u"通话中 响铃 等待接通") ++failures;
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(failures, 0);
}

TEST(LowBytes, LowEightBitsUpToTheFirstZeroByte) {
  EXPECT_EQ(LowBytes(u"abc"), "abc");
  EXPECT_EQ(LowBytes(u"ab\u4E00cd"), "ab");
  EXPECT_EQ(LowBytes(u"\u4E61\u0131"), "a1");
  EXPECT_EQ(LowBytes(u""), "");
}

TEST(IsAllDigits, Table) {
  EXPECT_TRUE(IsAllDigits(u""));
  EXPECT_TRUE(IsAllDigits(u"0123456789"));
  EXPECT_FALSE(IsAllDigits(u"12a"));
  EXPECT_FALSE(IsAllDigits(u"１２３"));  // full-width digits
  EXPECT_FALSE(IsAllDigits(u" 12"));
  EXPECT_FALSE(IsAllDigits(u"\u4E31"));  // low byte '1', still not a digit
}

TEST(ToInt, AsAtoiReadsIt) {
  const struct {
    std::u16string in;
    int out;
  } cases[] = {
      {u"", 0},         {u"42abc", 42},   {u"abc", 0},           {u"  -7", -7},
      {u"+5", 5},       {u"007", 7},      {u"1 2", 1},           {u"99999999999", INT_MAX},
      {u"-99999999999", INT_MIN},          {u"\u4E31\u4E32", 12},  // low bytes "12"
  };
  for (const auto& c : cases) EXPECT_EQ(ToInt(c.in), c.out);
}

TEST(IntText, Decimal) {
  EXPECT_EQ(IntText(0), u"0");
  EXPECT_EQ(IntText(-12), u"-12");
  EXPECT_EQ(Widen("abc"), u"abc");
}

}  // namespace
}  // namespace qv

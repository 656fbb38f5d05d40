#include "web/sign.h"

#include <gtest/gtest.h>

#include <string>

#include "storage/text.h"
#include "web/md5.h"

namespace qv {
namespace {

TEST(Md5, Rfc1321TestSuite) {
  const struct {
    const char* input;
    const char* digest;
  } cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& c : cases) EXPECT_EQ(Md5::HexOf(c.input), c.digest) << '"' << c.input << '"';
}

TEST(Md5, PiecewiseUpdatesAcrossBlockBoundariesGiveTheSameDigest) {
  std::string data;
  for (int i = 0; i < 300; ++i) data.push_back(static_cast<char>(i * 7));
  for (size_t length : {55u, 56u, 63u, 64u, 65u, 119u, 120u, 128u, 300u}) {
    const std::string_view whole(data.data(), length);
    for (size_t split = 0; split <= length; split += 13) {
      Md5 md5;
      md5.Update(whole.substr(0, split));
      md5.Update(whole.substr(split));
      EXPECT_EQ(Md5::Hex(md5.Finish()), Md5::HexOf(whole)) << length << '/' << split;
    }
  }
}

TEST(SignText, DigestsTheLowBytesUpToTheFirstZeroByte) {
  EXPECT_EQ(SignText(u""), u"d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(SignText(u"abc"), u"900150983cd24fb0d6963f7d28e17f72");
  // U+4E00 has a zero low byte: only "abc" is digested.
  EXPECT_EQ(SignText(u"abc\u4E00def"), SignText(u"abc"));
  // U+4E61 has the low byte 'a'.
  EXPECT_EQ(SignText(u"\u4E61"), SignText(u"a"));
}

TEST(SignText, RequestSignIsTheDigestOfIdAndSalt) {
  EXPECT_EQ(kSignSalt, u"!*!mwtqd%@%");
  EXPECT_EQ(RequestSign(u"13800000001"), SignText(u"13800000001!*!mwtqd%@%"));
  EXPECT_EQ(RequestSign(u"13800000001"), Widen(Md5::HexOf("13800000001!*!mwtqd%@%")));
  EXPECT_EQ(SignAnsiText(u"13800000001!*!mwtqd%@%"), RequestSign(u"13800000001"));
  EXPECT_EQ(RequestSign(u"1001").size(), 32u);
}

TEST(ScramblePassword, SubstitutesLettersAndDigits) {
  EXPECT_EQ(ScramblePassword(u"abyzAZ"), u"ZYBAza");
  EXPECT_EQ(ScramblePassword(u"0123456789"), u"5678901234");
  EXPECT_EQ(ScramblePassword(u"!#_ -.@"), u"!#_ -.@");
  EXPECT_EQ(ScramblePassword(u""), u"");
  EXPECT_EQ(ScramblePassword(ScramblePassword(u"Pass,word=9")), u"Pass,word=9");
}

TEST(ScramblePassword, KeepsAtMost32Bytes) {
  const std::u16string plain = u"abcdefghijABCDEFGHIJ0123456789xyzXYZ1234";
  ASSERT_EQ(plain.size(), 40u);
  const std::u16string scrambled = ScramblePassword(plain);
  EXPECT_EQ(scrambled.size(), 32u);
  EXPECT_EQ(ScramblePassword(scrambled), plain.substr(0, 32));
}

TEST(ScramblePassword, NonAsciiIsScrambledOverTheLowBytes) {
  // U+4E2D ("中") has the low byte 0x2D ('-'), which stays; twice is not the original.
  EXPECT_EQ(ScramblePassword(u"a\u4E2Db"), u"Z-Y");
  EXPECT_NE(ScramblePassword(ScramblePassword(u"a\u4E2Db")), u"a\u4E2Db");
}

}  // namespace
}  // namespace qv

#include "storage/call_log.h"

#include <gtest/gtest.h>


#include "storage/config.h"
#include "storage/files.h"
#include "storage/text.h"
#include "temp_dir.h"
#include "web/reply_field.h"

namespace qv {
namespace {

class CallLogTest : public test::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    ASSERT_TRUE(CreateDataFolder());
    path_ = CallLogPath(u"13800000001");
  }
  std::string file() const { return Slurp(ToUtf8(path_)); }
  void put(const std::string& bytes) const { Put(ToUtf8(path_), bytes); }

  std::u16string path_;
};

// "YYYY-MM-DD hh:mm:ss".
bool LooksLikeTime(std::string_view t) {
  if (t.size() != 19) return false;
  for (size_t i = 0; i < t.size(); ++i) {
    const char want = i == 4 || i == 7 ? '-' : i == 10 ? ' ' : i == 13 || i == 16 ? ':' : '0';
    if (want == '0' ? (t[i] < '0' || t[i] > '9') : t[i] != want) return false;
  }
  return true;
}

std::string Record(const std::string& phone, int index, const std::string& user = "") {
  return "calledUser=" + user + ",phone=" + phone + ",time=2013-05-07 09:03:05,timeLen=7\xC3\xEB,calledType=callOut,state=,index=" +
         std::to_string(index) + ";";
}

TEST(CallLogText, PathTimeAndDuration) {
  EXPECT_EQ(CallLogPath(u"13800000001"), u"QVPhone/calledLog13800000001.called");
  std::tm t{};
  t.tm_year = 113;
  t.tm_mon = 4;
  t.tm_mday = 7;
  t.tm_hour = 9;
  t.tm_min = 3;
  t.tm_sec = 5;
  EXPECT_EQ(LocalTimeText(t), u"2013-05-07 09:03:05");
  t.tm_year = -1000;  // the year is space-padded to four places
  EXPECT_EQ(LocalTimeText(t), u" 900-05-07 09:03:05");
  EXPECT_TRUE(LooksLikeTime(ToUtf8(LocalTimeText())));

  const struct {
    long long seconds;
    std::u16string text;
  } cases[] = {{3725, u"1时2分5秒"}, {3600, u"1时0分0秒"}, {65, u"1分5秒"}, {60, u"1分0秒"},
               {7, u"7秒"},        {0, u""},           {-3, u""}};
  for (const auto& c : cases) EXPECT_EQ(DurationText(c.seconds), c.text) << c.seconds;
  EXPECT_EQ(DurationText(0, 0, 0), u"");
  EXPECT_EQ(DurationText(0, 2, 0), u"2分0秒");
}

TEST_F(CallLogTest, AppendWritesTheRecordFormatInGbk) {
  EXPECT_TRUE(AppendCallRecord(u"张三", u"13900000002", u"1分5秒", u"callOut", u"", path_, 3));
  EXPECT_TRUE(AppendCallRecord(u"", u"13900000003", u"", u"callIn", u"missed", path_, 4));
  const auto records = ParseCallLog(ReadTextFile(path_));
  ASSERT_EQ(records.size(), 3u);  // the end of the text gives an empty record
  EXPECT_TRUE(LooksLikeTime(ToUtf8(records[0].time)));
  EXPECT_TRUE(LooksLikeTime(ToUtf8(records[1].time)));
  EXPECT_EQ(file(), "calledUser=\xD5\xC5\xC8\xFD,phone=13900000002,time=" + ToUtf8(records[0].time) +
                        ",timeLen=1\xB7\xD6" "5\xC3\xEB,calledType=callOut,state=,index=3;"
                        "calledUser=,phone=13900000003,time=" + ToUtf8(records[1].time) +
                        ",timeLen=,calledType=callIn,state=missed,index=4;");
  EXPECT_EQ(Mode(ToUtf8(path_)), 0600u);
  EXPECT_EQ(records[0].calledUser, u"张三");
  EXPECT_EQ(records[0].phone, u"13900000002");
  EXPECT_EQ(records[0].timeLen, u"1分5秒");
  EXPECT_EQ(records[0].calledType, u"callOut");
  EXPECT_EQ(records[0].state, u"");
  EXPECT_EQ(records[0].index, u"3");
  EXPECT_EQ(records[1].state, u"missed");
  EXPECT_EQ(records[2].phone, u"");
}

TEST_F(CallLogTest, AppendWithoutTheDataFolderFails) {
  std::filesystem::remove_all("QVPhone");
  EXPECT_FALSE(AppendCallRecord(u"", u"1", u"", u"callOut", u"", path_, 1));
}

TEST(ParseCallLog, WalkRules) {
  const std::u16string a = u"calledUser=A,phone=1,time=t,timeLen=,calledType=callOut,state=,index=1;";
  const std::u16string b = u"calledUser=B,phone=2,time=t,timeLen=,calledType=callOut,state=,index=2;";
  auto phones = [](std::u16string_view text) {
    std::u16string out;
    for (const auto& r : ParseCallLog(text)) out += u"[" + r.phone + u"]";
    return out;
  };
  EXPECT_EQ(phones(a + b), u"[1][2][]");
  EXPECT_EQ(phones(a + u";" + b), u"[1][]");  // reading stops at an empty record
  EXPECT_EQ(phones(a + u"phone=3"), u"[1][3]");  // a last record without ';' is read once
  EXPECT_EQ(phones(u""), u"[]");
  EXPECT_EQ(phones(u";" + a), u"[]");
  EXPECT_EQ(phones(u"foreign text;" + a), u"[][1][]");
  // Values: spaces kept, cut at a comma, equals signs kept, JSON punctuation dropped.
  const auto r = ParseCallLog(u"calledUser=李,四,phone=1=2,time=2013-05-07 09:03:05,state=\"[x]\";")[0];
  EXPECT_EQ(r.calledUser, u"李");
  EXPECT_EQ(r.phone, u"1=2");
  EXPECT_EQ(r.time, u"2013-05-07 09:03:05");
  EXPECT_EQ(r.state, u"x");
  EXPECT_EQ(r.index, u"");
}

TEST_F(CallLogTest, ANameWithACommaReadsBackCut) {
  AppendCallRecord(u"王,五", u"13900000002", u"7秒", u"callOut", u"", path_, 1);
  EXPECT_EQ(ParseCallLog(ReadTextFile(path_))[0].calledUser, u"王");
}

TEST_F(CallLogTest, RemoveKeepsEveryOtherRecordByteForByte) {
  std::string before;
  for (int i = 1; i <= 60; ++i) before += Record("139" + std::to_string(i), i % 20 == 7 ? 7 : i, "\xD5\xC5");
  before += "stray \xFF\xFE bytes;;" + Record("13900000099", 99) + "tail without end";
  ASSERT_GT(before.size(), 2048u);
  put(before);
  EXPECT_TRUE(RemoveCallRecords(path_, 7));
  std::string expected;
  for (int i = 1; i <= 60; ++i) {
    if (i % 20 != 7) expected += Record("139" + std::to_string(i), i, "\xD5\xC5");
  }
  expected += "stray \xFF\xFE bytes;;" + Record("13900000099", 99) + "tail without end";
  EXPECT_EQ(file(), expected);
  // Records beyond the empty one and the trailing text are removable too.
  EXPECT_TRUE(RemoveCallRecords(path_, 99));
  EXPECT_EQ(file().find("13900000099"), std::string::npos);
  EXPECT_NE(file().find(";;tail without end"), std::string::npos);
}

TEST_F(CallLogTest, RemoveTable) {
  const struct {
    std::string before;
    int index;
    std::string after;
  } cases[] = {
      {Record("1", 1) + Record("2", 2), 1, Record("2", 2)},
      {Record("1", 5) + Record("2", 5) + Record("3", 6), 5, Record("3", 6)},  // same index twice
      {Record("1", 1), 1, ""},
      {"", 1, ""},
      {Record("1", 1) + "phone=2,index=2", 2, Record("1", 1)},
      {Record("1", 1) + ";", 0, Record("1", 1) + ";"},  // empty records are not records
      {"phone=1,index= 3x;", 3, ""},                     // index read as atoi reads it
      {"phone=1;", 0, ""},                               // no index reads as 0
  };
  for (const auto& c : cases) {
    put(c.before);
    EXPECT_TRUE(RemoveCallRecords(path_, c.index));
    EXPECT_EQ(file(), c.after) << c.before;
  }
}

TEST_F(CallLogTest, RemoveOnAMissingFileLeavesItEmpty) {
  EXPECT_TRUE(RemoveCallRecords(path_, 1));
  EXPECT_TRUE(Exists(ToUtf8(path_)));
  EXPECT_EQ(file(), "");
}

TEST_F(CallLogTest, EmptyingKeepsTheNumberingGoing) {
  SetConfigValue(u"CalledListIndex", u"41");
  AppendCallRecord(u"", u"1", u"", u"callOut", u"", path_, 41);
  EXPECT_TRUE(EmptyCallLog(path_));
  EXPECT_TRUE(Exists(ToUtf8(path_)));
  EXPECT_EQ(file(), "");
  // The next call end advances the counter and writes one record.
  const int next = ToInt(ReplyField(ReadConfig(), u"CalledListIndex", u',', u'=')) + 1;
  SetConfigValue(u"CalledListIndex", IntText(next));
  AppendCallRecord(u"", u"2", u"3秒", u"callOut", u"Call terminated", path_, next);
  const auto records = ParseCallLog(ReadTextFile(path_));
  ASSERT_GE(records.size(), 1u);
  EXPECT_EQ(records[0].index, u"42");
  EXPECT_EQ(records[0].state, u"Call terminated");
}

}  // namespace
}  // namespace qv

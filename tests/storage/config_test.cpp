#include "storage/config.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include "storage/files.h"
#include "storage/text.h"
#include "temp_dir.h"
#include "web/reply_field.h"

namespace qv {
namespace {

class ConfigTest : public test::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    ASSERT_TRUE(CreateDataFolder());
  }
  static constexpr const char* kPath = "QVPhone/config.conf";
};

TEST_F(ConfigTest, FolderAndPath) {
  EXPECT_EQ(DataFolder(), u"QVPhone");
  EXPECT_EQ(ConfigPath(), u"QVPhone/config.conf");
  EXPECT_EQ(Mode("QVPhone"), 0700u);
  EXPECT_TRUE(CreateDataFolder());  // an existing folder is fine
}

TEST_F(ConfigTest, MissingFileReadsEmptyAndIsNotCreated) {
  EXPECT_EQ(ReadConfig(), u"");
  EXPECT_FALSE(Exists(kPath));
  EXPECT_EQ(ReplyField(ReadConfig(), u"user", u',', u'='), u"");
}

TEST_F(ConfigTest, FirstValueCreatesTheFile) {
  EXPECT_TRUE(SetConfigValue(u"user", u"123"));
  EXPECT_EQ(Slurp(kPath), "user=123");
  EXPECT_EQ(Mode(kPath), 0600u);
}

TEST_F(ConfigTest, ReplaceOrAppendTable) {
  const struct {
    std::string before;
    std::u16string key, value;
    std::string after;
  } cases[] = {
      {"user=1,pwd=2", u"pwd", u"3", "user=1,pwd=3"},
      {"user=1,pwd=2", u"user", u"5", "user=5,pwd=2"},
      {"user=1,pwd=2", u"CalledListIndex", u"7", "user=1,pwd=2,CalledListIndex=7"},
      {",user=1", u"user", u"2", ",user=2"},
      {"user=1,,pwd=2", u"pwd", u"", "user=1,,pwd="},
      {"user=1,user=2", u"user", u"3", "user=3,user=2"},
      {"user=1,", u"user", u"3", "user=3"},
      {"user =1", u"user", u"3", "user =1,user=3"},  // names compared without removing spaces
      {"word,user=1", u"user", u"9", "word,user=9"},
      {"user=1", u"whetherShowPhoen", u"1", "user=1,whetherShowPhoen=1"},
      {"user=\xD5\xC5\xC8\xFD,pwd=\xFF\xFE", u"user", u"张", "user=\xD5\xC5,pwd=\xFF\xFE"},
  };
  for (const auto& c : cases) {
    Put(kPath, c.before);
    EXPECT_TRUE(SetConfigValue(c.key, c.value));
    EXPECT_EQ(Slurp(kPath), c.after) << c.before;
  }
}

TEST_F(ConfigTest, AValueWithACommaReadsBackCut) {
  SetConfigValue(u"user", u"138");
  SetConfigValue(u"pwd", u"ab,cd");
  EXPECT_EQ(Slurp(kPath), "user=138,pwd=ab,cd");
  EXPECT_EQ(ReplyField(ReadConfig(), u"pwd", u',', u'='), u"ab");
}

TEST_F(ConfigTest, ALongFileIsReadAndRewrittenWhole) {
  std::string before = "user=13800000001";
  for (int i = 0; i < 300; ++i) before += ",k" + std::to_string(i) + "=value" + std::to_string(i);
  ASSERT_GT(before.size(), 2048u);
  Put(kPath, before);
  EXPECT_EQ(ReplyField(ReadConfig(), u"k299", u',', u'='), u"value299");
  EXPECT_TRUE(SetConfigValue(u"CalledListIndex", u"8"));
  EXPECT_EQ(Slurp(kPath), before + ",CalledListIndex=8");
}

TEST_F(ConfigTest, ReadsUpToTheFirstZeroByte) {
  Put(kPath, std::string("user=1\0junk", 11));
  EXPECT_EQ(ReadConfig(), u"user=1");
}

TEST_F(ConfigTest, AnUnreadableFileIsNeverOverwritten) {
  if (::geteuid() == 0) {
    // root reads any file; a folder in the file's place is unreadable as a file for everyone.
    ASSERT_TRUE(std::filesystem::create_directory(kPath));
    EXPECT_FALSE(SetConfigValue(u"user", u"1"));
    EXPECT_TRUE(std::filesystem::is_directory(kPath));
    return;
  }
  Put(kPath, "user=1,pwd=2");
  ::chmod(kPath, 0);
  EXPECT_EQ(ReadConfig(), u"");
  EXPECT_FALSE(SetConfigValue(u"user", u"9"));
  ::chmod(kPath, 0600);
  EXPECT_EQ(Slurp(kPath), "user=1,pwd=2");
}

TEST_F(ConfigTest, ACrashBetweenWriteAndRenameKeepsTheOldFile) {
  Put(kPath, "user=1,pwd=2");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    SetBeforeReplaceHookForTesting([] { ::_exit(0); });
    SetConfigValue(u"pwd", u"3");
    ::_exit(1);  // not reached: the hook ends the process first
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0) << "the write did not reach the point before the rename";
  EXPECT_EQ(Slurp(kPath), "user=1,pwd=2");
  EXPECT_EQ(ReadConfig(), u"user=1,pwd=2");
  // The written temporary file stays behind, hidden, with the new content.
  int leftovers = 0;
  for (const auto& e : std::filesystem::directory_iterator("QVPhone")) {
    if (e.path().filename().string().rfind(".config.conf.", 0) == 0) {
      ++leftovers;
      EXPECT_EQ(Slurp(e.path().string()), "user=1,pwd=3");
    }
  }
  EXPECT_EQ(leftovers, 1);
  // The next write works as usual.
  EXPECT_TRUE(SetConfigValue(u"pwd", u"4"));
  EXPECT_EQ(Slurp(kPath), "user=1,pwd=4");
}

TEST_F(ConfigTest, WithoutTheDataFolderNothingIsWritten) {
  std::filesystem::remove_all("QVPhone");
  EXPECT_FALSE(SetConfigValue(u"user", u"1"));
  EXPECT_FALSE(Exists("QVPhone"));
}

}  // namespace
}  // namespace qv

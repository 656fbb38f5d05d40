#include "storage/files.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace qv {
namespace {

using FilesTest = test::TempDirTest;

TEST_F(FilesTest, ReadingAMissingFileCreatesItEmpty) {
  EXPECT_EQ(ReadTextFile(u"new.txt"), u"");
  EXPECT_TRUE(Exists("new.txt"));
  EXPECT_EQ(Mode("new.txt"), 0600u);
  EXPECT_EQ(ReadTextFile(u"no-such-folder/new.txt"), u"");
}

TEST_F(FilesTest, ReadsWholeFilesDecodedFromGbk) {
  std::string big;
  while (big.size() < 100000) big += "\xD5\xC5\xC8\xFD,";
  Put("big.txt", big + "end");
  const std::u16string text = ReadTextFile(u"big.txt");
  EXPECT_EQ(text.size(), big.size() / 5 * 3 + 3);
  EXPECT_EQ(text.substr(text.size() - 5), u"三,end");
  Put("zero.txt", std::string("ab\0cd", 5));
  EXPECT_EQ(ReadTextFile(u"zero.txt"), u"ab");
}

TEST_F(FilesTest, AppendAndReplace) {
  EXPECT_TRUE(WriteTextFile(u"f.txt", u"张三", WriteMode::Append));
  EXPECT_TRUE(WriteTextFile(u"f.txt", u",abc", WriteMode::Append));
  EXPECT_EQ(Slurp("f.txt"), "\xD5\xC5\xC8\xFD,abc");
  EXPECT_EQ(Mode("f.txt"), 0600u);
  ::chmod("f.txt", 0644);
  EXPECT_TRUE(WriteTextFile(u"f.txt", u"new\U0001F600", WriteMode::Replace));
  EXPECT_EQ(Slurp("f.txt"), "new?");
  EXPECT_EQ(Mode("f.txt"), 0600u);
  EXPECT_TRUE(WriteTextFile(u"f.txt", u"", WriteMode::Replace));
  EXPECT_TRUE(Exists("f.txt"));
  EXPECT_EQ(Slurp("f.txt"), "");
  // Only the target is left in the folder.
  int files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(".")) ++files;
  EXPECT_EQ(files, 1);
}

TEST_F(FilesTest, WritingIntoAMissingFolderFails) {
  EXPECT_FALSE(WriteTextFile(u"missing/f.txt", u"x", WriteMode::Append));
  EXPECT_FALSE(WriteTextFile(u"missing/f.txt", u"x", WriteMode::Replace));
}

TEST_F(FilesTest, AFolderIsNotReadAsAFile) {
  std::filesystem::create_directory("dir");
  std::string bytes;
  EXPECT_FALSE(ReadFileBytes(u"dir", bytes, true));
  EXPECT_EQ(ReadTextFile(u"dir"), u"");
}

TEST_F(FilesTest, CreatePrivateFolder) {
  EXPECT_TRUE(CreatePrivateFolder(u"p"));
  EXPECT_EQ(Mode("p"), 0700u);
  Put("plain", "x");
  EXPECT_FALSE(CreatePrivateFolder(u"plain"));
}

}  // namespace
}  // namespace qv

// Where the engine's configuration and factory files are taken from.
#include "sip/sip.h"
#include "sip_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

using qvtest::TempHome;

void WriteFile(const std::string& path, size_t bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << std::string(bytes, 'x');
}

struct ConfigCase {
  const char* name;
  long cwdBytes;     // size of ./veltophonerc, -1 for none
  long folderBytes;  // size of <config>/Linphone/veltophonerc, -1 for none
  bool localPath;    // the path is ./veltophonerc
  bool present;
};

class ConfigFilePathTest : public ::testing::TestWithParam<ConfigCase> {};

TEST_P(ConfigFilePathTest, PicksFileAndPresence) {
  TempHome home;
  const ConfigCase& c = GetParam();
  std::string folderFile = home.Path() + "/config/Linphone/veltophonerc";
  if (c.cwdBytes >= 0) WriteFile(home.Path() + "/veltophonerc", static_cast<size_t>(c.cwdBytes));
  if (c.folderBytes >= 0) WriteFile(folderFile, static_cast<size_t>(c.folderBytes));
  qv::ConfigFile config = qv::ConfigFilePath();
  EXPECT_EQ(config.path, c.localPath ? std::string("veltophonerc") : folderFile);
  EXPECT_EQ(config.present, c.present);
  // The engine's folder is made unless the local file is taken.
  if (c.folderBytes < 0) {
    EXPECT_EQ(std::filesystem::is_directory(home.Path() + "/config/Linphone"), !c.localPath);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConfigFilePathTest,
    ::testing::Values(ConfigCase{"nothing", -1, -1, false, false},
                      ConfigCase{"local_file_any_size", 1, -1, true, true},
                      ConfigCase{"local_file_wins", 10, 4000, true, true},
                      ConfigCase{"empty_local_file_ignored", 0, 4000, false, true},
                      ConfigCase{"folder_file_small", -1, 250, false, false},
                      ConfigCase{"folder_file_configured", -1, 251, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConfigFilePath, HomeConfigWithoutXdg) {
  TempHome home;
  unsetenv("XDG_CONFIG_HOME");
  qv::ConfigFile config = qv::ConfigFilePath();
  EXPECT_EQ(config.path, home.Path() + "/.config/Linphone/veltophonerc");
  EXPECT_TRUE(std::filesystem::is_directory(home.Path() + "/.config/Linphone"));
}

TEST(ConfigFilePath, NoUserFolderAtAll) {
  TempHome home;
  unsetenv("XDG_CONFIG_HOME");
  unsetenv("HOME");
  qv::ConfigFile config = qv::ConfigFilePath();
  EXPECT_EQ(config.path, "veltophonerc");
  EXPECT_FALSE(config.present);
}

TEST(FactoryFilePath, OnlyANonEmptyLocalFile) {
  TempHome home;
  EXPECT_EQ(qv::FactoryFilePath(), "");
  WriteFile(home.Path() + "/veltophonerc.factory", 0);
  EXPECT_EQ(qv::FactoryFilePath(), "");
  WriteFile(home.Path() + "/veltophonerc.factory", 3);
  EXPECT_EQ(qv::FactoryFilePath(), "veltophonerc.factory");
}

}  // namespace

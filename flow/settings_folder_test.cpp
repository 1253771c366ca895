#include "flow/settings_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class SettingsFolderTest : public ::testing::Test {
 protected:
  SettingsFolderTest() {
    root = fs::temp_directory_path() /
           ("kf_folder_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root);
    fs::create_directories(root / "home");
  }
  ~SettingsFolderTest() override { fs::remove_all(root); }
  std::string at(const std::string& sub) const { return (root / sub).string(); }
  fs::path root;
};

TEST_F(SettingsFolderTest, TerminalKeepsTheCurrentFolderMenuUsesTheDataHome) {
  struct Case {
    bool menu;
    const char* xdg;  // below root, "" for unset, or taken as it is when starting with '/'
    const char* home;
    std::string file;  // below root unless the plain file name
  };
  const std::string plain = "SchiffsEinstellungen.prefs";
  const std::vector<Case> cases{
      {false, "xdg", "home", plain},
      {true, "xdg", "home", "xdg/kaperfahrt/" + plain},
      {true, "deep/er/xdg", "home", "deep/er/xdg/kaperfahrt/" + plain},
      {true, "", "home", "home/.local/share/kaperfahrt/" + plain},
      {true, "relative", "home", "home/.local/share/kaperfahrt/" + plain},
      {true, "", "", plain},
  };
  for (const Case& c : cases) {
    const std::string xdg = *c.xdg == '\0' ? "" : c.xdg[0] == 'r' ? c.xdg : at(c.xdg);
    const std::string home = *c.home == '\0' ? "" : at(c.home);
    const SettingsFolder found = findSettingsFolder(c.menu, xdg.empty() ? nullptr : xdg.c_str(),
                                                    home.empty() ? nullptr : home.c_str());
    const std::string expected = c.file == plain ? plain : at(c.file);
    EXPECT_EQ(found.file, expected) << c.menu << " " << c.xdg;
    EXPECT_EQ(found.problem, "");
    if (expected != plain) {
      EXPECT_TRUE(fs::is_directory(fs::path(expected).parent_path())) << expected;
      EXPECT_FALSE(fs::exists(expected)) << "the first battle creates the file, not the start";
    }
  }
  EXPECT_FALSE(fs::exists("relative"));  // nothing made in the current folder
  EXPECT_FALSE(fs::exists(root / "xdg" / "kaperfahrt" / ".schreibprobe"));
}

TEST_F(SettingsFolderTest, KeepsASettingsFileAlreadyThere) {
  fs::create_directories(root / "xdg" / "kaperfahrt");
  const fs::path file = root / "xdg" / "kaperfahrt" / "SchiffsEinstellungen.prefs";
  const std::string kept = "[Allgemein]\nGegneranzahl = 3\n";
  std::ofstream(file) << kept;
  const SettingsFolder found = findSettingsFolder(true, at("xdg").c_str(), nullptr);
  EXPECT_EQ(found.file, file.string());
  EXPECT_EQ(found.problem, "");
  std::ifstream in(file);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), kept);
}

// A file where a folder belongs stops root as well as any user, unlike permission bits.
TEST_F(SettingsFolderTest, AnUnusableFolderIsReportedNotThrown) {
  std::ofstream(root / "blocked") << "x";
  fs::create_directories(root / "xdg");
  std::ofstream(root / "xdg" / "kaperfahrt") << "x";
  for (const std::string& xdg : {at("blocked"), at("blocked/deeper"), at("xdg")}) {
    SettingsFolder found;
    ASSERT_NO_THROW(found = findSettingsFolder(true, xdg.c_str(), at("home").c_str()));
    EXPECT_EQ(found.file, xdg + "/kaperfahrt/SchiffsEinstellungen.prefs");
    EXPECT_NE(found.problem.find("Der Ordner für die Einstellungen"), std::string::npos);
    EXPECT_NE(found.problem.find(xdg + "/kaperfahrt"), std::string::npos) << found.problem;
  }
  if (::geteuid() != 0) {  // permission bits bind everyone but root
    fs::create_directories(root / "locked");
    fs::permissions(root / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_NE(findSettingsFolder(true, at("locked").c_str(), nullptr).problem, "");
    fs::permissions(root / "locked", fs::perms::owner_all);
  }
}

}  // namespace

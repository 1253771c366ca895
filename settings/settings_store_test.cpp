#include "settings/settings_store.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>

#include "settings/settings_test_util.h"

namespace {

using settings_test::crlfLines;
using settings_test::readBytes;
using settings_test::writeBytes;

constexpr std::string_view kManoev = "Man\xF6vrierf\xE4higkeit";

class SettingsStoreTest : public ::testing::Test {
 protected:
  // Opens the file holding content.
  void openWith(std::string_view content) {
    writeBytes(file, content);
    ASSERT_TRUE(store.openSettings(file));
  }
  std::string rewritten() {
    store.closeSettings();
    return readBytes(file);
  }

  settings_test::TempDir dir;
  std::string file = dir.file();
  SettingsStore store;
};

TEST_F(SettingsStoreTest, EmptyFileGivesDefaultsAndReadsNeverRewrite) {
  openWith("");
  EXPECT_TRUE(store.selectGroup(""));
  EXPECT_FALSE(store.selectGroup("Allgemein"));
  EXPECT_EQ(store.readInt("Option", 1), 1);
  EXPECT_EQ(rewritten(), "");
  const std::string messy = "  [Schiff_1] old\n health=7\n\n";
  openWith(messy);
  ASSERT_TRUE(store.selectGroup("schiff_1"));
  EXPECT_EQ(store.readInt("Health", 0), 7);
  EXPECT_EQ(rewritten(), messy);
}

TEST_F(SettingsStoreTest, MissingFileGivesDefaultsAndWritesCreateItInOrder) {
  EXPECT_FALSE(store.openSettings(file));
  EXPECT_FALSE(store.selectGroup("Allgemein"));
  EXPECT_EQ(store.readInt("Option", 5), 5);
  store.writeInt("Option", 1);
  store.selectGroup("Schiff_1");
  store.writeFloat("Health", 100.0f);
  store.selectGroup("Allgemein");
  store.writeInt("Sound", 0);
  EXPECT_EQ(rewritten(), crlfLines({"[Allgemein]", "Option = 1", "Sound = 0", "[Schiff_1]",
                                    "Health = 100.000000"}));

  EXPECT_FALSE(store.openSettings(dir.file("other.prefs")));
  store.closeSettings();
  store.writeInt("x", 1);  // closed: ignored
  EXPECT_EQ(store.readInt("x", 5), 5);
  store.closeSettings();
  EXPECT_FALSE(std::filesystem::exists(dir.file("other.prefs")));
}

TEST_F(SettingsStoreTest, EncodingMarkKeepsItselfAndUtf8Names) {
  openWith(
      "\xEF\xBB\xBF[Gr\xC3\xBC\xC3\x9F"
      "e]\nMan\xC3\xB6vrierf\xC3\xA4higkeit = 0.7\n");
  ASSERT_TRUE(
      store.selectGroup("Gr\xFC\xDF"
                        "e"));
  EXPECT_FLOAT_EQ(store.readFloat(kManoev, 0.5f), 0.7f);
  store.writeFloat(kManoev, 0.25f);
  store.writeInt("SchussLautst\xE4rke", 20);
  EXPECT_EQ(rewritten(),
            "\xEF\xBB\xBF\r\n" + crlfLines({"[Gr\xC3\xBC\xC3\x9F"
                                            "e]",
                                            "Man\xC3\xB6vrierf\xC3\xA4higkeit = 0.250000",
                                            "SchussLautst\xC3\xA4rke = 20"}));
}

// A player's hand edit in the other encoding is still read, and the save writes the file's
// own encoding back over it, in its place.
TEST_F(SettingsStoreTest, HandEditInTheOtherEncodingIsRead) {
  openWith("[Allgemein]\r\nSchussLautst\xC3\xA4rke = 55\r\nSound = 1\r\n");
  ASSERT_TRUE(store.selectGroup("Allgemein"));
  EXPECT_EQ(store.readInt("SchussLautst\xE4rke", 20), 55);
  store.writeInt("SchussLautst\xE4rke", 60);
  EXPECT_EQ(rewritten(), crlfLines({"[Allgemein]", "SchussLautst\xE4rke = 60", "Sound = 1"}));

  openWith(
      "[Gr\xC3\xBC\xC3\x9F"
      "e]\nman\xC3\xB6vrierf\xC3\xA4higkeit = 0.7\n");
  ASSERT_TRUE(
      store.selectGroup("Gr\xFC\xDF"
                        "e"));
  EXPECT_FLOAT_EQ(store.readFloat(kManoev, 0.5f), 0.7f);
  openWith("\xEF\xBB\xBFMan\xF6vrierf\xE4higkeit = 0.3\n");
  EXPECT_FLOAT_EQ(store.readFloat(kManoev, 0.5f), 0.3f);
  store.writeFloat(kManoev, 0.25f);
  EXPECT_EQ(rewritten(),
            "\xEF\xBB\xBF\r\n" + crlfLines({"Man\xC3\xB6vrierf\xC3\xA4higkeit = 0.250000"}));
}

TEST_F(SettingsStoreTest, KeysMatchWithoutAsciiCaseAndTakeTheWritersText) {
  openWith(
      "[schiff_1] comment\r\nhealth = 7\r\nman\xF6vrierf\xE4higkeit = 1\r\n"
      "MAN\xD6VRIERF\xC4HIGKEIT = 2\r\n");
  ASSERT_TRUE(store.selectGroup("Schiff_1"));
  EXPECT_EQ(store.readInt("Health", 0), 7);
  EXPECT_EQ(store.readFloat(kManoev, 0), 1.0f);
  store.writeInt("Health", 9);
  EXPECT_EQ(rewritten(), crlfLines({"[schiff_1]", "Health = 9", "man\xF6vrierf\xE4higkeit = 1",
                                    "MAN\xD6VRIERF\xC4HIGKEIT = 2"}));
}

TEST_F(SettingsStoreTest, SpacingIsNormalisedButTrailingValueSpacesStay) {
  openWith("\t;x\n[A]\n  Health =  100.5  \n");
  ASSERT_TRUE(store.selectGroup("A"));
  EXPECT_EQ(store.readFloat("Health", 0), 100.5f);
  EXPECT_EQ(store.readInt("Health", 0), 100);
  store.writeInt("Neu", 1);
  EXPECT_EQ(rewritten(), crlfLines({"; x", "[A]", "Health = 100.5  ", "Neu = 1"}));
}

TEST_F(SettingsStoreTest, LfOnlyLineWithoutEqualsSwallowsTheNextLine) {
  openWith("[A]\nabc\nHealth = 5\n");
  ASSERT_TRUE(store.selectGroup("A"));
  EXPECT_EQ(store.readInt("Health", -1), -1);
  store.writeInt("Health", 6);
  EXPECT_EQ(rewritten(), crlfLines({"[A]", "abc = Health = 5", "Health = 6"}));
}

TEST_F(SettingsStoreTest, FirstOfDuplicateGroupsAndKeysIsReadAndWritten) {
  openWith("[G]\nx = 1\nx = 9\n[g]\nx = 2\n[H]\n");
  ASSERT_TRUE(store.selectGroup("G"));
  EXPECT_EQ(store.readInt("x", 0), 1);
  store.writeInt("x", 3);
  store.writeInt("y", 4);
  EXPECT_EQ(rewritten(), crlfLines({"[G]", "x = 3", "x = 9", "y = 4", "[g]", "x = 2", "[H]"}));
}

TEST_F(SettingsStoreTest, TopSectionIsSeparateFromNamedGroups) {
  openWith("Sound = 0\n[Allgemein]\nOption = 0\n");
  ASSERT_TRUE(store.selectGroup("Allgemein"));
  EXPECT_EQ(store.readInt("Sound", 1), 1);
  ASSERT_TRUE(store.selectGroup(""));
  EXPECT_EQ(store.readInt("Sound", 1), 0);
  EXPECT_EQ(store.readInt("Option", 1), 1);
  store.writeInt("Reichweite", 50);
  EXPECT_EQ(rewritten(), crlfLines({"Sound = 0", "Reichweite = 50", "[Allgemein]", "Option = 0"}));

  openWith("[Allgemein]\n");
  store.writeInt("Oben", 1);
  EXPECT_EQ(rewritten(), crlfLines({"Oben = 1", "[Allgemein]"}));
}

TEST_F(SettingsStoreTest, PendingGroupReadsDefaultsAndIsAppendedAtTheFirstWrite) {
  openWith("[A]\nx = 1\n[B]\n");
  ASSERT_TRUE(store.selectGroup("A"));
  EXPECT_FALSE(store.selectGroup("Neu"));
  EXPECT_EQ(store.readInt("x", 7), 7);
  store.writeInt("x", 2);
  EXPECT_EQ(store.readInt("x", 7), 2);
  ASSERT_TRUE(store.selectGroup("A"));
  store.writeInt("z", 3);
  EXPECT_EQ(rewritten(), crlfLines({"[A]", "x = 1", "z = 3", "[B]", "[Neu]", "x = 2"}));
}

TEST_F(SettingsStoreTest, OpeningAnotherFileAndDestructionSavePendingChanges) {
  openWith("");
  store.writeInt("a", 1);
  EXPECT_TRUE(store.openSettings(file));
  EXPECT_EQ(store.readInt("a", 0), 1);
  {
    SettingsStore other;
    other.openSettings(dir.file("b"));
    other.writeInt("b", 2);
  }
  EXPECT_EQ(readBytes(dir.file("b")), crlfLines({"b = 2"}));
}

TEST_F(SettingsStoreTest, CreateSettingsEmptiesTheFile) {
  writeBytes(file, "[A]\nx = 1\n");
  store.createSettings(file);
  EXPECT_EQ(store.readInt("x", 0), 0);
  EXPECT_EQ(rewritten(), "");
}

TEST_F(SettingsStoreTest, RewriteKeepsPermissionsOwnerAndSymbolicLinks) {
  openWith("x = 1\n");
  ::chmod(file.c_str(), 0640);
  const bool handedOver = ::chown(file.c_str(), 65534, 65534) == 0;  // only root may
  std::filesystem::create_symlink(file, dir.file("link"));
  ASSERT_TRUE(store.openSettings(dir.file("link")));
  store.writeInt("x", 2);
  store.closeSettings();
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link")));
  EXPECT_EQ(readBytes(file), crlfLines({"x = 2"}));
  struct stat info {};
  ASSERT_EQ(::stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(info.st_uid, handedOver ? 65534u : ::geteuid());
}

// Something of that name that cannot be opened as a file is never replaced.
TEST_F(SettingsStoreTest, UnopenableNameIsNeverReplaced) {
  std::filesystem::create_directory(file);
  EXPECT_FALSE(store.openSettings(file));
  store.writeInt("x", 1);
  store.closeSettings();
  store.createSettings(file);
  store.writeInt("x", 1);
  store.closeSettings();
  EXPECT_TRUE(std::filesystem::is_directory(file));
  EXPECT_TRUE(std::filesystem::is_empty(file));
  EXPECT_EQ(store.lastSaveError(), 0);  // nothing written since the create
}

// Runs save in a child process as a user whom the permission bits bind (nobody, when the
// tests run as root); the child's exit status is what save returns.
int asOrdinaryUser(const std::function<int()>& save) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(255);
    ::_exit(save());
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// A player may own the settings file but not its folder: the save then rewrites the file
// in place. What the player may not write at all stays as it was, and the store says why.
TEST_F(SettingsStoreTest, SavesInAFolderThatTakesNoNewFile) {
  const std::string old = crlfLines({"[Allgemein]", "Option = 1"});
  const struct {
    const char* name;
    int mode;  // of the file; -1: there is none
    int error;
  } cases[] = {{"writable", 0666, 0}, {"read-only", 0444, EACCES}, {"missing", -1, EACCES}};
  ::chmod(dir.path().c_str(), 0755);
  for (const auto& c : cases) {
    const std::string path = dir.file(c.name);
    if (c.mode >= 0) {
      writeBytes(path, old);
      ::chmod(path.c_str(), static_cast<mode_t>(c.mode));
    }
    ::chmod(dir.path().c_str(), 0555);
    const int error = asOrdinaryUser([&] {
      store.openSettings(path);
      store.selectGroup("Allgemein");
      store.writeInt("Option", 0);
      store.writeInt("Reichweite", 100);
      store.closeSettings();
      return store.lastSaveError();
    });
    ::chmod(dir.path().c_str(), 0755);
    if (error == 255) GTEST_SKIP() << "cannot run as another user";
    EXPECT_EQ(error, c.error) << c.name;
    const std::string expected =
        c.error != 0 ? old : crlfLines({"[Allgemein]", "Option = 0", "Reichweite = 100"});
    EXPECT_EQ(readBytes(path), c.mode >= 0 ? expected : "") << c.name;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST_F(SettingsStoreTest, WithoutPermissionsReadsWorkAndChangesAreDropped) {
  if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not bind root";
  writeBytes(file, "x = 1\n");
  ::chmod(file.c_str(), 0444);
  ASSERT_TRUE(store.openSettings(file));
  EXPECT_EQ(store.readInt("x", 0), 1);
  store.writeInt("x", 2);
  EXPECT_EQ(rewritten(), "x = 1\n");
  ::chmod(file.c_str(), 0);
  EXPECT_FALSE(store.openSettings(file));
  store.writeInt("x", 3);
  store.closeSettings();
  store.createSettings(file);
  ::chmod(file.c_str(), 0644);
  EXPECT_EQ(readBytes(file), "x = 1\n");
}

// A save that cannot be completed leaves the old bytes, whether the write fails (size limit
// with SIGXFSZ ignored) or the process dies in the middle of it (SIGXFSZ's default action).
// Failing beside the file, the save goes on to rewrite it in place: the size limit stops
// that after the changed first line, which must then be put back; or, with a limit beyond
// the old size, after the file has grown, which must then shrink back to its old size.
TEST_F(SettingsStoreTest, FailedSaveLeavesTheOldFileWhole) {
  const std::string old = crlfLines({"x = 1", "[Allgemein]", "Option = 1", "; hand written"});
  const struct {
    bool dies;
    rlim_t limit;
  } cases[] = {{false, 16}, {false, old.size() + 12}, {true, 16}};
  for (const auto [dies, limit] : cases) {
    writeBytes(file, old);
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
      if (!dies) ::signal(SIGXFSZ, SIG_IGN);
      const rlimit fileSize{limit, limit};
      ::setrlimit(RLIMIT_FSIZE, &fileSize);
      store.openSettings(file);
      store.writeInt("x", 2);
      store.selectGroup("Allgemein");
      for (int i = 0; i < 100; ++i) store.writeInt("Key" + std::to_string(i), i);
      store.closeSettings();
      ::_exit(store.lastSaveError());
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(WIFSIGNALED(status), dies);
    if (!dies) {
      EXPECT_EQ(WEXITSTATUS(status), EFBIG);
    }
    EXPECT_EQ(readBytes(file), old) << limit;
    if (!dies) {  // and no temporary file left behind
      EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    }
  }
}

}  // namespace

#include "settings/network_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "settings/settings_test_util.h"

namespace {

using settings_test::readBytes;
using settings_test::writeBytes;

TEST(InputDelay, TwoWithoutItsGroupKeptWithinZeroToThree) {
  settings_test::TempDir dir;
  const std::string file = dir.file();
  SettingsStore store;
  EXPECT_EQ(loadInputDelay(store, file), 2);  // no file at all
  for (const auto& [text, delay] :
       std::vector<std::pair<std::string, int>>{{"[Allgemein]\r\nOption=1\r\n", 2},
                                                {"[Netzwerk]\r\nAndererSchluessel=1\r\n", 2},
                                                {"[Netzwerk]\r\nEingabeverzoegerung=0\r\n", 0},
                                                {"[Netzwerk]\r\nEingabeverzoegerung=3\r\n", 3},
                                                {"[Netzwerk]\r\nEingabeverzoegerung=9\r\n", 3},
                                                {"[Netzwerk]\r\nEingabeverzoegerung=-4\r\n", 0}}) {
    writeBytes(file, text);
    EXPECT_EQ(loadInputDelay(store, file), delay) << text;
  }
}

TEST(InputDelay, ASaveWritesItsGroupOnlyForADelayOtherThanTheFileHolds) {
  settings_test::TempDir dir;
  const std::string file = dir.file();
  SettingsStore store;
  const std::string spiel = "[Allgemein]\r\nOption=1\r\n";
  writeBytes(file, spiel);
  saveInputDelay(store, 2, file);
  EXPECT_EQ(readBytes(file), spiel);  // the default: the file stays the game's own
  saveInputDelay(store, 0, file);
  EXPECT_EQ(loadInputDelay(store, file), 0);
  EXPECT_NE(readBytes(file).find("[Netzwerk]"), std::string::npos);
  ASSERT_TRUE(store.openSettings(file) && store.selectGroup("Allgemein"));
  EXPECT_EQ(store.readInt("Option", -1), 1);  // the game's own group kept
  store.closeSettings();
  EXPECT_TRUE(saveInputDelay(store, 7, file));
  EXPECT_EQ(loadInputDelay(store, file), 3);
  EXPECT_TRUE(saveInputDelay(store, 3, file));         // nothing to write
  EXPECT_FALSE(saveInputDelay(store, 1, dir.path()));  // a folder where the file belongs
}

}  // namespace

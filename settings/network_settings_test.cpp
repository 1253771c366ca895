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

// The port and the address come back as saved; a file without them, a port out of range or an
// address that could break the file mean the defaults, and the other groups keep their bytes.
TEST(PortAndAddress, KeptOnlyOnceChangedAndOnlyWhatIsSafe) {
  settings_test::TempDir dir;
  const std::string file = dir.file();
  SettingsStore store;
  const std::string spiel = "[Allgemein]\r\nOption = 1\r\n";
  writeBytes(file, spiel);
  EXPECT_TRUE(saveNetworkPort(store, kDefaultNetworkPort, file));
  EXPECT_FALSE(saveJoinAddress(store, " \n", file));
  EXPECT_FALSE(saveJoinAddress(store, "a\r\n[Allgemein]\r\nOption=0", file));
  EXPECT_EQ(readBytes(file), spiel);
  EXPECT_EQ(loadNetworkPort(store, file), 47111);
  EXPECT_EQ(loadJoinAddress(store, file), "");

  EXPECT_TRUE(saveNetworkPort(store, 5001, file));
  EXPECT_TRUE(saveJoinAddress(store, " 203.0.113.7:47111\n", file));
  EXPECT_EQ(readBytes(file),
            spiel + "[Netzwerk]\r\nPort = 5001\r\nAdresse = 203.0.113.7:47111\r\n");
  EXPECT_EQ(loadNetworkPort(store, file), 5001);
  EXPECT_EQ(loadJoinAddress(store, file), "203.0.113.7:47111");

  for (const char* port : {"0", "65536", "-1", "x"}) {
    writeBytes(file, std::string("[Netzwerk]\r\nPort = ") + port + "\r\nAdresse = a b\r\n");
    EXPECT_EQ(loadNetworkPort(store, file), 47111) << port;
    EXPECT_EQ(loadJoinAddress(store, file), "");
  }
}

}  // namespace

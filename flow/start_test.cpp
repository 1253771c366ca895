#include "flow/start.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "assets/embedded.h"
#include "flow/partie.h"
#include "flow/schlacht.h"
#include "media/headless.h"
#include "ships/katalog.h"

namespace {

namespace fs = std::filesystem;

constexpr Rgb kSea{1, 119, 254};

class StartTest : public ::testing::Test {
 protected:
  StartTest() {
    auto owned = std::make_unique<HeadlessBackend>();
    backend = owned.get();
    media = std::make_unique<Media>(std::move(owned), 7);
    dir = fs::temp_directory_path() /
          ("kf_start_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
    settingsFile = (dir / "SchiffsEinstellungen.prefs").string();
  }
  ~StartTest() override { fs::remove_all(dir); }

  void writeSettings(const std::string& bytes) {
    std::ofstream(settingsFile, std::ios::binary) << bytes;
  }
  std::string readSettings() {
    std::ifstream in(settingsFile, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  bool openBattle() {
    return Hochfahren(spiel, *media) && SchlachtOeffnen(spiel, *media, store, settingsFile);
  }

  HeadlessBackend* backend;
  std::unique_ptr<Media> media;
  SettingsStore store;
  Spiel spiel;
  fs::path dir;
  std::string settingsFile;
};

TEST_F(StartTest, AFailingServiceShowsTheStartMessageAndEndsWithExitCodeZero) {
  for (int service = 0; service < 3; ++service) {
    auto owned = std::make_unique<HeadlessBackend>();
    HeadlessBackend& failing = *owned;
    failing.failures().screen = service == 0;
    failing.failures().keyboard = service == 1;
    failing.failures().sound = service == 2;
    Media failingMedia(std::move(owned), 1);
    Spiel game;
    EXPECT_FALSE(Hochfahren(game, failingMedia)) << service;
    ASSERT_EQ(failing.messages().size(), 1u) << service;
    EXPECT_EQ(failing.messages()[0].title, "Scheisse");
    EXPECT_EQ(failing.messages()[0].text, "Konnte nicht starten");
    EXPECT_EQ(failing.messages()[0].kind, MessageKind::Ok);
    EXPECT_EQ(Herunterfahren(failingMedia, store), 0);
  }
}

TEST_F(StartTest, StartUpMeasuresTheDesktopAndOpensTheBattleOverIt) {
  backend->setDesktopSize(Size{1920, 1080});
  ASSERT_TRUE(openBattle());
  EXPECT_TRUE(backend->messages().empty());
  EXPECT_EQ(spiel.DesktopBreite, 1920);
  EXPECT_EQ(spiel.DesktopHoehe, 1080);
  EXPECT_TRUE(backend->windowOpen());
  EXPECT_EQ(backend->windowSize().w, 1920);
  EXPECT_EQ(backend->windowSize().h, 1080);
  EXPECT_TRUE(backend->screenOpen());
}

TEST_F(StartTest, AWindowThatCannotBeOpenedEndsTheBattleBeforeItStarts) {
  backend->failures().window = true;
  ASSERT_TRUE(Hochfahren(spiel, *media));
  EXPECT_FALSE(SchlachtOeffnen(spiel, *media, store, settingsFile));
}

TEST_F(StartTest, EverySpriteLiesUnderItsCatalogueNumber) {
  ASSERT_TRUE(openBattle());
  media->clearScreen(Rgb{0, 0, 0});
  media->drawSprite(katalog::kMeer, 0, 0);
  EXPECT_EQ(media->pixel(0, 0), kSea);
  EXPECT_EQ(media->pixel(1679, 1049), kSea);

  media->drawTransparentSprite(katalog::kKugelA, 10, 10);
  media->drawTransparentSprite(katalog::kKugelB, 20, 10);
  EXPECT_EQ(media->pixel(11, 11), (Rgb{2, 2, 2}));
  EXPECT_EQ(media->pixel(21, 11), (Rgb{2, 2, 2}));

  // Every ship's picture: the hull in the middle, the white around it left out.
  for (int schiff = 0; schiff < kSchiffsAnzahl; ++schiff) {
    for (int klasse = 0; klasse < kKlassenAnzahl; ++klasse) {
      media->drawSprite(katalog::kMeer, 0, 0);
      media->drawRotatable(katalog::schiffsSprite(schiff, klasse), 300, 300);
      EXPECT_NE(media->pixel(375, 375), kSea) << schiff << " " << klasse;
      EXPECT_EQ(media->pixel(300, 300), kSea) << schiff << " " << klasse;
      EXPECT_EQ(media->pixel(449, 449), kSea) << schiff << " " << klasse;
    }
  }
  // The needles, flames and fires are turnable pictures of their sprites.
  for (int rotatable : {49, 50, 53, 54, 55, 56, 59, 61}) {
    media->drawSprite(katalog::kMeer, 0, 0);
    media->drawRotatable(rotatable, 500, 500);
    bool drawn = false;
    for (int y = 500; y < 575 && !drawn; ++y)
      for (int x = 500; x < 650 && !drawn; ++x) drawn = media->pixel(x, y) != kSea;
    EXPECT_TRUE(drawn) << rotatable;
  }
}

TEST_F(StartTest, BothSoundsArePlayable) {
  ASSERT_TRUE(openBattle());
  for (int sound : {katalog::kSchussTon, katalog::kTrefferTon}) {
    media->playSound(sound, 100);
    std::vector<int16_t> out(2 * 4096);
    backend->renderAudio(out.data(), 4096);
    int peak = 0;
    for (int16_t s : out) peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_GT(peak, 1000) << sound;
  }
}

TEST_F(StartTest, AMissingSettingsFileIsCreatedEmptyAndEveryDefaultApplies) {
  ASSERT_TRUE(openBattle());
  EXPECT_TRUE(fs::exists(settingsFile));
  EXPECT_EQ(fs::file_size(settingsFile), 0u);
  EXPECT_EQ(spiel.Gegneranzahl, 1);
  EXPECT_EQ(spiel.Sound, 1);
  EXPECT_EQ(spiel.Option, 1);
  EXPECT_EQ(spiel.Reichweite, 100);
  EXPECT_EQ(spiel.SchussLautstaerke, 20);
  EXPECT_EQ(spiel.TrefferLautstaerke, 20);
  EXPECT_EQ(spiel.Schiffstabelle[7].Health, 100.0f);
}

TEST_F(StartTest, TheEnemyCountIsOneInTwoPlayerModeAndAlwaysInRange) {
  const std::string stored = "[Allgemein]\r\nGegneranzahl = 3\r\n";
  writeSettings(stored);
  spiel.SpielModus = kZweiSpieler;
  ASSERT_TRUE(openBattle());
  EXPECT_EQ(spiel.Gegneranzahl, 1);
  EXPECT_EQ(readSettings(), stored);

  for (const auto& [text, expected] : std::vector<std::pair<std::string, int>>{
           {"7", 3}, {"0", 1}, {"-2", 1}, {"2", 2}, {"99999999999", 3}}) {
    writeSettings("[Allgemein]\r\nGegneranzahl = " + text + "\r\n");
    spiel.SpielModus = kEinzelspieler;
    media->closeBattleWindow();
    ASSERT_TRUE(SchlachtOeffnen(spiel, *media, store, settingsFile));
    EXPECT_EQ(spiel.Gegneranzahl, expected) << text;
  }
}

TEST_F(StartTest, BrokenOrMissingFilesLeaveTheirNumbersEmptyAndTheBattleRuns) {
  ASSERT_TRUE(Hochfahren(spiel, *media));
  ASSERT_TRUE(media->openBattleWindow(1680, 1050));
  const std::vector<uint8_t> garbage = {'B', 'M', 0xff, 0x00, 0x13, 0x37, 'R', 'I', 'F', 'F'};
  BilderUndToeneLaden(*media, [&](std::string_view name) {
    return name.starts_with("ship") ? std::span<const uint8_t>(garbage)
                                    : std::span<const uint8_t>();
  });
  spiel.Gegneranzahl = 3;
  PartieAufbauen(spiel);
  for (int frame = 0; frame < 3; ++frame) EXPECT_FALSE(SchlachtFrame(spiel, *media));
  media->playSound(katalog::kSchussTon, 100);
  EXPECT_EQ(backend->framesPresented(), 3);
}

TEST_F(StartTest, EscapeAsksBeendenAndOnlyYesLeavesTheBattle) {
  ASSERT_TRUE(openBattle());
  PartieAufbauen(spiel);
  backend->setKey(Key::Escape, true);
  EXPECT_FALSE(SchlachtFrame(spiel, *media));
  backend->setKey(Key::Escape, false);
  backend->queueAnswer(false);
  EXPECT_FALSE(SchlachtFrame(spiel, *media));
  ASSERT_EQ(backend->messages().size(), 1u);
  EXPECT_EQ(backend->messages()[0].title, "Kaperfahrt");
  EXPECT_EQ(backend->messages()[0].text, "Beenden");
  EXPECT_EQ(backend->messages()[0].kind, MessageKind::YesNoQuestion);
  EXPECT_FALSE(SchlachtFrame(spiel, *media));  // one release, one question

  backend->setKey(Key::Escape, true);
  SchlachtFrame(spiel, *media);
  backend->setKey(Key::Escape, false);
  backend->queueAnswer(true);
  SchlachtLaufen(spiel, *media);
  EXPECT_FALSE(backend->windowOpen());
}

}  // namespace

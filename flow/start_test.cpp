#include "flow/start.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "assets/embedded.h"
#include "flow/partie.h"
#include "flow/schlacht.h"
#include "media/headless.h"
#include "media/sdl_decode.h"
#include "state/katalog.h"

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

// Logs every release, and the settings store's as soon as its pending change is on disk.
class ReleaseLog : public HeadlessBackend {
 public:
  void release(MediaService service) override {
    static const char* const kNames[] = {"sound",      "keyboard",         "screen and sprites",
                                         "rotatables", "game controllers", "windows",
                                         "fonts",      "desktop"};
    if (!settingsWritten && written && written()) {
      settingsWritten = true;
      log.emplace_back("settings store");
    }
    log.emplace_back(kNames[static_cast<int>(service)]);
    HeadlessBackend::release(service);
  }
  std::function<bool()> written;
  bool settingsWritten = false;
  std::vector<std::string> log;
};

TEST_F(StartTest, ShutdownReleasesEveryServiceInItsOrder) {
  auto owned = std::make_unique<ReleaseLog>();
  ReleaseLog& released = *owned;
  Media game(std::move(owned), 3);
  ASSERT_TRUE(Hochfahren(spiel, game) && SchlachtOeffnen(spiel, game, store, settingsFile));
  ASSERT_TRUE(store.openSettings(settingsFile));
  store.selectGroup("Allgemein");
  store.writeInt("Sound", 0);
  released.written = [&] { return readSettings().find("Sound = 0") != std::string::npos; };
  const LauncherRelease launcher{[&] { released.log.emplace_back("launcher controls"); },
                                 [&] { released.log.emplace_back("launcher windows"); }};

  EXPECT_EQ(Herunterfahren(game, store, launcher), 0);
  EXPECT_EQ(released.log,
            (std::vector<std::string>{"sound", "settings store", "keyboard", "screen and sprites",
                                      "rotatables", "game controllers", "launcher controls",
                                      "launcher windows", "windows", "fonts", "desktop"}));
  EXPECT_FALSE(released.windowOpen());
  EXPECT_FALSE(released.audioOpen());
  EXPECT_FALSE(game.loadFont(katalog::kErgebnisschrift, "impact", 100));
  game.clearScreen(kSea);
  game.drawSprite(katalog::kSchiffsbild, 0, 0);
  EXPECT_EQ(game.pixel(75, 75), kSea);
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

// What a sprite number must hold: the picture of this file, with this transparent colour.
struct SpriteSource {
  int sprite;
  std::string file;
  Rgb key;
};

constexpr Rgb kWhite{255, 255, 255}, kBlack{0, 0, 0};

std::vector<SpriteSource> spriteCatalogue() {
  std::vector<SpriteSource> sources;
  for (int klasse = 0; klasse < kKlassenAnzahl; ++klasse) {
    sources.push_back({32 + klasse, "ship" + std::to_string(klasse) + ".bmp", kWhite});
  }
  for (int zone : {43, 44, 45}) sources.push_back({zone, "hit_disc.bmp", kBlack});
  sources.push_back({46, "ball.bmp", kBlack});
  sources.push_back({47, "ball.bmp", kBlack});
  sources.push_back({48, "needle.bmp", kBlack});
  sources.push_back({51, "smoke.bmp", kBlack});
  sources.push_back({52, "flame.bmp", kBlack});
  sources.push_back({57, "fire.bmp", kBlack});
  return sources;
}

// The rotatable sprites and the sprite each is made from.
std::vector<std::pair<int, int>> rotatableCatalogue() {
  std::vector<std::pair<int, int>> made = {{49, 48}, {50, 48}, {53, 52}, {54, 52},
                                           {55, 52}, {56, 52}, {59, 57}, {61, 57}};
  for (int r = 0; r < 32; ++r) made.emplace_back(r, 32 + r % 8);
  return made;
}

Image decodedFile(const std::string& name) {
  std::optional<Image> image = decodeBmp(embeddedFile(name));
  EXPECT_TRUE(image.has_value()) << name;
  return image.value_or(Image{});
}

Rgb rgbOf(uint32_t xrgb) {
  return {static_cast<uint8_t>(xrgb >> 16), static_cast<uint8_t>(xrgb >> 8),
          static_cast<uint8_t>(xrgb)};
}

// A colour none of the pictures uses, so that whatever was not drawn shows.
constexpr Rgb kUnpainted{3, 250, 7};

// The pixels in the top-left corner of the back buffer are `expected`, drawn with `key` left
// out (opaquely when there is no key), and nothing was drawn right of it or below it.
::testing::AssertionResult showsPicture(const Media& media, const Image& expected,
                                        std::optional<Rgb> key) {
  for (int y = 0; y <= expected.h; ++y) {
    for (int x = 0; x <= expected.w; ++x) {
      Rgb want = kUnpainted;
      if (x < expected.w && y < expected.h) {
        const Rgb drawn = rgbOf(expected.at(x, y));
        if (drawn != key) want = drawn;
      }
      if (media.pixel(x, y) != want) {
        return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") differs";
      }
    }
  }
  return ::testing::AssertionSuccess();
}

TEST_F(StartTest, EverySpriteHoldsItsFileWithItsTransparentColour) {
  ASSERT_TRUE(openBattle());
  for (const SpriteSource& source : spriteCatalogue()) {
    const Image expected = decodedFile(source.file);
    media->clearScreen(kUnpainted);
    media->drawSprite(source.sprite, 0, 0);
    EXPECT_TRUE(showsPicture(*media, expected, std::nullopt)) << source.sprite;
    media->clearScreen(kUnpainted);
    media->drawTransparentSprite(source.sprite, 0, 0);
    EXPECT_TRUE(showsPicture(*media, expected, source.key)) << source.sprite;
  }
  // The sea is made, not loaded: it covers the whole screen.
  media->clearScreen(kUnpainted);
  media->drawSprite(katalog::kMeer, 0, 0);
  int notSea = 0;
  for (int y = 0; y < kScreenHeight; ++y)
    for (int x = 0; x < kScreenWidth; ++x) notSea += media->pixel(x, y) != kSea ? 1 : 0;
  EXPECT_EQ(notSea, 0);
}

TEST_F(StartTest, EveryRotatableIsMadeFromItsSprite) {
  ASSERT_TRUE(openBattle());
  std::map<int, SpriteSource> sprites;
  for (const SpriteSource& source : spriteCatalogue()) sprites.emplace(source.sprite, source);
  for (const auto& [rotatable, sprite] : rotatableCatalogue()) {
    EXPECT_EQ(media->rotation(rotatable), 0.0f) << rotatable;
    media->clearScreen(kUnpainted);
    media->drawRotatable(rotatable, 0, 0);  // at angle 0: unturned, transparently
    const SpriteSource& source = sprites.at(sprite);
    EXPECT_TRUE(showsPicture(*media, decodedFile(source.file), source.key)) << rotatable;
  }
}

// Played alone at full volume a sound comes out exactly as its file decodes.
TEST_F(StartTest, EverySoundHoldsItsFile) {
  ASSERT_TRUE(openBattle());
  for (const auto& [sound, file] :
       {std::pair{katalog::kSchussTon, "shot.wav"}, std::pair{katalog::kTrefferTon, "hit.wav"}}) {
    std::optional<std::vector<int16_t>> expected =
        decodeWav(embeddedFile(file), HeadlessBackend::kAudioFormat);
    ASSERT_TRUE(expected.has_value()) << file;
    // At half volume: below where the mix's limiter sets in, so sample for sample.
    media->playSound(sound, 50);
    for (int16_t& s : *expected) s = static_cast<int16_t>(s * 50 / 100);
    const int channels = HeadlessBackend::kAudioFormat.channels;
    // One buffer more than the sound: the rest must be silence.
    std::vector<int16_t> out(expected->size() + 1024 * channels);
    backend->renderAudio(out.data(), static_cast<int>(out.size()) / channels);
    const std::vector<int16_t> played(out.begin(), out.begin() + expected->size());
    EXPECT_TRUE(played == *expected) << file;
    EXPECT_TRUE(std::all_of(out.begin() + expected->size(), out.end(), [](int16_t s) {
      return s == 0;
    })) << file;
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
  for (int frame = 0; frame < 3; ++frame) EXPECT_FALSE(Frame(spiel, *media));
  media->playSound(katalog::kSchussTon, 100);
  EXPECT_EQ(backend->framesPresented(), 3);
}

TEST_F(StartTest, EscapeAsksBeendenAndOnlyYesLeavesTheBattle) {
  ASSERT_TRUE(openBattle());
  PartieAufbauen(spiel);
  backend->setKey(Key::Escape, true);
  EXPECT_FALSE(Frame(spiel, *media));
  backend->setKey(Key::Escape, false);
  backend->queueAnswer(false);
  EXPECT_FALSE(Frame(spiel, *media));
  ASSERT_EQ(backend->messages().size(), 1u);
  EXPECT_EQ(backend->messages()[0].title, "Kaperfahrt");
  EXPECT_EQ(backend->messages()[0].text, "Beenden");
  EXPECT_EQ(backend->messages()[0].kind, MessageKind::YesNoQuestion);
  EXPECT_FALSE(Frame(spiel, *media));  // one release, one question

  backend->setKey(Key::Escape, true);
  Frame(spiel, *media);
  backend->setKey(Key::Escape, false);
  backend->queueAnswer(true);
  SchlachtLaufen(spiel, *media);
  EXPECT_FALSE(backend->windowOpen());
}

}  // namespace

#include "flow/outer_loop.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "flow/start.h"
#include "media/headless.h"
#include "settings/settings_test_util.h"

namespace {

// Presses Escape on every other frame shown, so that each battle is left after a few
// frames (with the Yes answers queued by the test), and counts the battle windows.
class LeavingBackend : public HeadlessBackend {
 public:
  int windowsOpened = 0;

  bool openWindow(int w, int h) override {
    ++windowsOpened;
    return HeadlessBackend::openWindow(w, h);
  }
  void present(const uint32_t* pixels, int w, int h) override {
    HeadlessBackend::present(pixels, w, h);
    escapeDown_ = !escapeDown_;
    setKey(Key::Escape, escapeDown_);
  }

 private:
  bool escapeDown_ = false;
};

class OuterLoopTest : public ::testing::Test {
 protected:
  OuterLoopTest() {
    auto owned = std::make_unique<LeavingBackend>();
    backend = owned.get();
    media = std::make_unique<Media>(std::move(owned), 5);
    EXPECT_TRUE(Hochfahren(spiel, *media));
  }

  // A launcher that answers with the given modes in turn, recording each call.
  LauncherRun launcherAnswering(std::vector<int32_t> modes) {
    return [this, modes](Spiel& s, Media&) {
      const int32_t mode = modes.at(launcherRuns.size());
      launcherRuns.push_back(backend->windowOpen());
      s.Flotte[0].Klasse = 5;
      return mode;
    };
  }

  settings_test::TempDir dir;
  std::string file = dir.file();
  LeavingBackend* backend;
  std::unique_ptr<Media> media;
  SettingsStore store;
  Spiel spiel;
  std::vector<bool> launcherRuns;  // whether a battle window was open during each
};

TEST_F(OuterLoopTest, EveryBattleIsFollowedByAFreshLauncherUntilItEndsTheGame) {
  backend->queueAnswer(true);
  backend->queueAnswer(true);
  runOuterLoop(spiel, *media, store, launcherAnswering({kZweiSpieler, kEinzelspieler, 0}), file);
  EXPECT_EQ(launcherRuns, (std::vector<bool>{false, false, false}));
  EXPECT_EQ(backend->windowsOpened, 2);
  EXPECT_FALSE(backend->windowOpen());
  EXPECT_EQ(spiel.SpielModus, kEinzelspieler);
  EXPECT_EQ(spiel.Flotte[0].Klasse, 5);
  EXPECT_TRUE(std::filesystem::exists(file));  // made by the first battle
}

TEST_F(OuterLoopTest, EndingTheGameInTheFirstLauncherRunsNoBattle) {
  runOuterLoop(spiel, *media, store, launcherAnswering({0}), file);
  EXPECT_EQ(launcherRuns.size(), 1u);
  EXPECT_EQ(backend->windowsOpened, 0);
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(OuterLoopTest, ABattleWindowThatCannotOpenEndsTheGame) {
  backend->failures().window = true;
  runOuterLoop(spiel, *media, store, launcherAnswering({kEinzelspieler, kEinzelspieler}), file);
  EXPECT_EQ(launcherRuns.size(), 1u);
}

}  // namespace

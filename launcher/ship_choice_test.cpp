#include "launcher/ship_choice.h"

#include <gtest/gtest.h>

#include <set>

namespace {

class ShipChoiceTest : public ::testing::Test {
 protected:
  Spiel spiel;
  int32_t choices = 0;

  void SetUp() override {
    for (Schiff& schiff : spiel.Flotte) schiff.Klasse = 6;
  }
};

TEST_F(ShipChoiceTest, SinglePlayerChoosesOnceAndDrawsOneEnemyBeforeTheFirstBattle) {
  spiel.SpielModus = kEinzelspieler;  // Gegneranzahl still 0: no battle has read it yet
  chooseShip(spiel, 2, choices);
  EXPECT_EQ(spiel.Flotte[0].Klasse, 2);
  EXPECT_GE(spiel.Flotte[1].Klasse, 0);
  EXPECT_LE(spiel.Flotte[1].Klasse, 7);
  EXPECT_EQ(spiel.Flotte[2].Klasse, 6);
  EXPECT_EQ(spiel.Flotte[3].Klasse, 6);
  EXPECT_EQ(choices, 1);
  EXPECT_TRUE(launcherRunEnds(spiel.SpielModus, choices));
}

TEST_F(ShipChoiceTest, SinglePlayerDrawsEveryClassForAsManyEnemiesAsConfigured) {
  spiel.SpielModus = kEinzelspieler;
  for (int enemies = 1; enemies <= 3; ++enemies) {
    spiel.Gegneranzahl = enemies;
    std::set<int32_t> drawn;
    for (int run = 0; run < 200; ++run) {
      for (Schiff& schiff : spiel.Flotte) schiff.Klasse = -1;
      chooseShip(spiel, 0, choices);
      for (int ship = 1; ship < 4; ++ship) {
        const int32_t klasse = spiel.Flotte[ship].Klasse;
        if (ship > enemies) {
          EXPECT_EQ(klasse, -1) << "ship " << ship << " with " << enemies << " enemies";
        } else {
          drawn.insert(klasse);
        }
      }
    }
    EXPECT_EQ(drawn, (std::set<int32_t>{0, 1, 2, 3, 4, 5, 6, 7}));
  }
}

TEST_F(ShipChoiceTest, NoModeYetChoosesNothing) {
  chooseShip(spiel, 3, choices);
  EXPECT_EQ(choices, 0);
  EXPECT_EQ(spiel.Flotte[0].Klasse, 6);
}

TEST(LauncherRunEnds, WhenEveryPlayerOfTheModeHasChosen) {
  EXPECT_FALSE(launcherRunEnds(kEinzelspieler, 0));
  EXPECT_TRUE(launcherRunEnds(kEinzelspieler, 1));
  EXPECT_FALSE(launcherRunEnds(kEinzelspieler, 2));
  EXPECT_FALSE(launcherRunEnds(kZweiSpieler, 1));
  EXPECT_TRUE(launcherRunEnds(kZweiSpieler, 2));
  EXPECT_TRUE(launcherRunEnds(kZweiSpieler, 3));
  EXPECT_FALSE(launcherRunEnds(0, 1));
}

}  // namespace

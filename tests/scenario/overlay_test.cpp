// The battle overlay, pixel by pixel at the sizes worked out for it.
#include <gtest/gtest.h>

#include "presentation/anzeige.h"
#include "tests/scenario/arena.h"

namespace {

constexpr Rgb kSchwarz{0, 0, 0}, kGruen{101, 156, 61}, kRot{255, 0, 0};

class Overlay : public ::testing::Test {
 protected:
  Overlay() : arena(kZweiSpieler) {}
  void zeichnen() {
    arena.media->clearScreen(kSeeFarbe);
    AnzeigeZeichnen(arena.spiel, *arena.media);
  }
  Rgb at(int x, int y) const { return arena.media->pixel(x, y); }
  Schiff& schiff(int i) { return arena.spiel.Flotte[i]; }

  Arena arena;
};

TEST_F(Overlay, TheHealthColumnStandsOnLine902InAFrameTwoPixelsWider) {
  zeichnen();
  // Frame (0, 700) 20 x 204, column (2, 702) 16 x 200, for Player 1 and mirrored for Player 2.
  for (int links : {0, 1660}) {
    EXPECT_EQ(at(links + 10, 700), kSchwarz);
    EXPECT_EQ(at(links + 10, 903), kSchwarz);
    EXPECT_EQ(at(links + 10, 699), kSeeFarbe);
    EXPECT_EQ(at(links + 10, 904), kSeeFarbe);
    EXPECT_EQ(at(links, 800), kSchwarz);
    EXPECT_EQ(at(links + 19, 800), kSchwarz);
    EXPECT_EQ(at(links + 9, 702), kGruen);
    EXPECT_EQ(at(links + 9, 901), kGruen);
    EXPECT_EQ(at(links + 9, 701), kSchwarz);
    EXPECT_EQ(at(links + 9, 902), kSchwarz);
    EXPECT_EQ(at(links + 2, 800), kGruen);
    EXPECT_EQ(at(links + 17, 800), kGruen);
    EXPECT_EQ(at(links + 1, 800), kSchwarz);
    EXPECT_EQ(at(links + 18, 800), kSchwarz);
  }
  EXPECT_EQ(at(20, 800), kSeeFarbe);
  EXPECT_EQ(at(1659, 800), kSeeFarbe);
}

TEST_F(Overlay, PositionAndHeightOfTheColumnAreRoundedSeparately) {
  // 37.25: height 74.5 gives 74, y 827.5 gives 828; the column still ends on 901.
  schiff(0).Health = 37.25f;
  zeichnen();
  EXPECT_EQ(at(9, 827), kSchwarz);
  EXPECT_EQ(at(9, 828), kGruen);
  EXPECT_EQ(at(9, 901), kGruen);
  EXPECT_EQ(at(9, 902), kSchwarz);

  // -3: a 16 x 6 stub from 902 to 907, four rows below the frame.
  schiff(0).Health = -3;
  zeichnen();
  EXPECT_EQ(at(9, 901), kSchwarz);
  for (int y = 902; y <= 907; ++y) EXPECT_EQ(at(9, y), kGruen) << y;
  EXPECT_EQ(at(9, 908), kSeeFarbe);

  // A class of 500: the frame begins 100 rows above the screen.
  arena.spiel.Schiffstabelle[0].Health = 500;
  schiff(0).Health = 500;
  zeichnen();
  EXPECT_EQ(at(9, 0), kGruen);
  EXPECT_EQ(at(0, 0), kSchwarz);
}

TEST_F(Overlay, BatteryBarsGrowFromTheirInnerEndsAHundredPixelsForAFullBattery) {
  schiff(0).KanonenLinks = 30;
  schiff(0).KanonenRechts = 30;
  schiff(1).KanonenLinks = 30;
  zeichnen();
  // Port bar 75 long, from 137 to 212 (pixels 137 to 211), in its frame from 110 to 214.
  EXPECT_EQ(at(136, 1040), kSchwarz);
  EXPECT_EQ(at(137, 1040), kRot);
  EXPECT_EQ(at(211, 1040), kRot);
  EXPECT_EQ(at(212, 1040), kSchwarz);
  EXPECT_EQ(at(213, 1040), kSchwarz);
  EXPECT_EQ(at(214, 1040), kSeeFarbe);
  EXPECT_EQ(at(110, 1040), kSchwarz);
  EXPECT_EQ(at(109, 1040), kSeeFarbe);
  // Starboard bar from 222 to 296.
  EXPECT_EQ(at(222, 1040), kRot);
  EXPECT_EQ(at(296, 1040), kRot);
  EXPECT_EQ(at(297, 1040), kSchwarz);
  // Player 2: port bar from 1387 to 1462, a full starboard bar from 1472 to 1572.
  EXPECT_EQ(at(1386, 1040), kSchwarz);
  EXPECT_EQ(at(1387, 1040), kRot);
  EXPECT_EQ(at(1461, 1040), kRot);
  EXPECT_EQ(at(1462, 1040), kSchwarz);
  EXPECT_EQ(at(1472, 1040), kRot);
  EXPECT_EQ(at(1571, 1040), kRot);
  EXPECT_EQ(at(1572, 1040), kSchwarz);
}

TEST_F(Overlay, ANegativeGunCountDrawsASliverLeftOfTheAnchor) {
  schiff(0).KanonenRechts = -0.85f;  // -2.125 pixels: 2 to the left of 222
  zeichnen();
  EXPECT_EQ(at(220, 1040), kRot);
  EXPECT_EQ(at(221, 1040), kRot);
  EXPECT_EQ(at(222, 1040), kSchwarz);
}

TEST_F(Overlay, AClassWithoutGunsShowsEmptyFramesOnly) {
  for (float anzahl : {0.0f, -0.0f, 1e-40f}) {
    arena.spiel.Schiffstabelle[0].KanonenAnzahl = anzahl;
    schiff(0).KanonenLinks = schiff(0).KanonenRechts = anzahl == 0 ? 0.0f : -1.0f;
    zeichnen();
    for (int x = 100; x < 330; ++x) ASSERT_NE(at(x, 1040), kRot) << anzahl << " " << x;
    EXPECT_EQ(at(150, 1040), kSchwarz);
  }
}

TEST_F(Overlay, TheDialIsAQuarterDiscWithItsLabels) {
  zeichnen();
  EXPECT_EQ(at(99, 1049), kSchwarz);
  EXPECT_EQ(at(100, 1049), kSeeFarbe);
  EXPECT_EQ(at(0, 950), kSchwarz);
  EXPECT_EQ(at(0, 949), kSeeFarbe);
  EXPECT_EQ(at(1581, 1049), kSchwarz);
  EXPECT_EQ(at(1580, 1049), kSeeFarbe);
  for (const auto& [x, y, text] : {std::tuple{10, 956, "30"},
                                   {40, 972, "20"},
                                   {62, 996, "10"},
                                   {80, 1026, "0"},
                                   {1625, 972, "20"},
                                   {1590, 1026, "0"}}) {
    EXPECT_TRUE(Textbild(x, y, text).gleich(*arena.media)) << x << " " << text;
  }
}

TEST(OverlayLabels, LivingComputerShipsCarryTheirHealthRounded) {
  Arena arena(kEinzelspieler, 3);
  Spiel& spiel = arena.spiel;
  spiel.Flotte[1].Health = 100;
  spiel.Flotte[2].Health = 0;
  spiel.Flotte[3].Health = 0.4f;
  spiel.Flotte[3].PosX = 700;
  spiel.Flotte[3].PosY = 500.5;  // rounds to 500
  arena.media->clearScreen(kSeeFarbe);
  AnzeigeZeichnen(spiel, *arena.media);
  EXPECT_TRUE(Textbild(1500, 20, "Health: 100").gleich(*arena.media));
  EXPECT_TRUE(Textbild(700, 500, "Health: 0").gleich(*arena.media));
  EXPECT_EQ(arena.media->pixel(21, 21), kSeeFarbe);
  // No Player 2 panel in single-player mode.
  EXPECT_EQ(arena.media->pixel(1670, 800), kSeeFarbe);

  // In two-player mode no ship carries a label.
  spiel.SpielModus = kZweiSpieler;
  arena.media->clearScreen(kSeeFarbe);
  AnzeigeZeichnen(spiel, *arena.media);
  EXPECT_FALSE(Textbild(1500, 20, "Health: 100").gleich(*arena.media));
  EXPECT_EQ(arena.media->pixel(1501, 21), kSeeFarbe);
}

}  // namespace

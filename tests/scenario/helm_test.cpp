// The helm of the humans and the movement of every ship, frame by frame.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "tests/scenario/arena.h"

namespace {

double Grad(double g) { return g * std::numbers::pi / 180.0; }

TEST(Helm, ALeftAloneShipDriftsToACreepBackwardsInFourFrames) {
  Arena arena;
  const double erwartet[] = {0.007, 0.004, 0.001, -0.002, -0.002, -0.002};
  for (double tempo : erwartet) {
    const double x = arena.spiel.Flotte[0].PosX;
    arena.frame();
    EXPECT_NEAR(arena.spiel.Flotte[0].Tempo, tempo, 1e-15);
    EXPECT_NEAR(arena.spiel.Flotte[1].Tempo, tempo, 1e-15);
    EXPECT_NEAR(arena.spiel.Flotte[0].PosX - x, std::sin(Grad(50)) * tempo, 1e-12);
  }
  // Backwards it cannot turn.
  arena.halten(Key::D);
  arena.frames(3);
  EXPECT_EQ(arena.spiel.Flotte[0].Kurs, 50);
}

TEST(Helm, AccelerationHoversAtTopSpeedAndBrakingTakesAHundredthMore) {
  Arena arena;
  arena.halten(Key::W);
  arena.frames(200);
  const SchiffsTyp& typ = arena.spiel.Schiffstabelle[0];
  for (int i = 0; i < 20; ++i) {
    arena.frame();
    EXPECT_GE(arena.spiel.Flotte[0].Tempo, typ.TopSpeed - 0.003 - 1e-12);
    EXPECT_LT(arena.spiel.Flotte[0].Tempo, typ.TopSpeed + typ.Beschleunigung);
  }
  arena.halten(Key::W, false);
  arena.halten(Key::S);
  const double vorher = arena.spiel.Flotte[0].Tempo;
  arena.frame();
  EXPECT_NEAR(arena.spiel.Flotte[0].Tempo, vorher - 0.013, 1e-12);
  // Both held below top speed: Beschleunigung - 0.01 per frame.
  arena.spiel.Flotte[0].Tempo = 1;
  arena.halten(Key::W);
  arena.frame();
  EXPECT_EQ(arena.spiel.Flotte[0].Tempo, 1 + double{0.015f} - 0.01);
}

// One frame of the helm from a given Tempo: acceleration stops at TopSpeed itself (drag
// then applies), drag and brake stop at 0 itself, and at 0 the ship cannot turn.
TEST(Helm, AccelerationAndBrakingStopExactlyAtTheirLimits) {
  struct Fall {
    double tempo;
    float beschleunigung;
    std::vector<Key> tasten;
    double tempoDanach, kursDanach;
  };
  const Fall faelle[] = {
      {2.0, 0.015f, {Key::W, Key::A}, 2.0 - 0.003, 49.5},
      {1.999, 0.015f, {Key::W}, 1.999 + double{0.015f}, 50},
      {0.0, 0.015f, {Key::S, Key::A}, 0.0, 50},
      {0.0, 0.0f, {Key::W, Key::S, Key::D}, 0.0, 50},
      {0.005, 0.0f, {Key::W, Key::S}, 0.005 - 0.01, 50},
  };
  for (const Fall& fall : faelle) {
    Arena arena;
    arena.spiel.Schiffstabelle[0].Beschleunigung = fall.beschleunigung;
    Schiff& s = arena.spiel.Flotte[0];
    s.Tempo = fall.tempo;
    for (Key taste : fall.tasten) arena.halten(taste);
    arena.frame();
    EXPECT_DOUBLE_EQ(s.Tempo, fall.tempoDanach) << fall.tempo;
    EXPECT_DOUBLE_EQ(s.Kurs, fall.kursDanach) << fall.tempo;
  }
}

TEST(Helm, TurningLeftPastOneSetsTheHeadingTo360AfterMovingWithTheTurnedHeading) {
  Arena arena;
  Schiff& s = arena.spiel.Flotte[0];
  s.Kurs = 1.2;
  s.Tempo = 1;
  const double x = s.PosX, y = s.PosY;
  arena.halten(Key::A);
  arena.frame();
  EXPECT_EQ(s.Kurs, 360);
  EXPECT_NEAR(s.PosX - x, std::sin(Grad(0.7)) * 0.997, 1e-12);
  EXPECT_NEAR(s.PosY - y, -std::cos(Grad(0.7)) * 0.997, 1e-12);

  arena.halten(Key::A, false);
  arena.halten(Key::D);
  s.Kurs = 359.8;
  arena.frame();
  EXPECT_EQ(s.Kurs, 1);  // 360.3 is set to 1, not reduced to 0.3
  // Both turn keys together cancel out.
  arena.halten(Key::A);
  arena.frame();
  EXPECT_EQ(s.Kurs, 1);
}

TEST(Helm, ArrowKeysSteerPlayer2OnlyInTwoPlayerMode) {
  Arena zwei(kZweiSpieler);
  zwei.spiel.Flotte[1].Tempo = 1;
  zwei.halten(Key::Up);
  zwei.halten(Key::Right);
  zwei.frame();
  EXPECT_EQ(zwei.spiel.Flotte[1].Tempo, 1 + double{0.015f});
  EXPECT_EQ(zwei.spiel.Flotte[1].Kurs, 230.5);

  // In single-player mode the same frame with and without the arrow keys.
  Arena mit(kEinzelspieler), ohne(kEinzelspieler);
  for (Key k : {Key::Up, Key::Down, Key::Left, Key::Right}) mit.halten(k);
  mit.frames(5);
  ohne.frames(5);
  EXPECT_EQ(mit.spiel.Flotte[1].Tempo, ohne.spiel.Flotte[1].Tempo);
  EXPECT_EQ(mit.spiel.Flotte[1].Kurs, ohne.spiel.Flotte[1].Kurs);
  EXPECT_EQ(mit.spiel.Flotte[0].Tempo, ohne.spiel.Flotte[0].Tempo);
}

TEST(Movement, ADiagonalCornerCrossingWrapsInYThenInXTheNextFrame) {
  Arena arena;
  Schiff& s = arena.spiel.Flotte[0];
  arena.spiel.Spielende = 1;  // no helm: no drag
  s.PosX = 1679.5;
  s.PosY = 1049.5;
  s.Kurs = 135;
  s.Tempo = 1;
  arena.frame();
  EXPECT_EQ(s.PosY, -100);
  EXPECT_GT(s.PosX, 1680);
  arena.frame();
  EXPECT_EQ(s.PosX, -100);
  EXPECT_NEAR(s.PosY, -100 + std::sqrt(0.5), 1e-9);

  // Over the left and top edges a ship leaves only past -100 and comes back outside.
  s.PosX = -99.5;
  s.PosY = 500;
  s.Kurs = 270;
  arena.frame();
  EXPECT_EQ(s.PosX, 1680);
  s.PosX = 500;
  s.PosY = -99.5;
  s.Kurs = 360;
  arena.frame();
  EXPECT_EQ(s.PosY, 1050);
}

TEST(Movement, AShipExactlyOnTheEdgeStays) {
  Arena arena;
  arena.spiel.Spielende = 1;
  Schiff& s = arena.spiel.Flotte[0];
  s.Tempo = 0;
  s.PosX = 1680;
  s.PosY = 1050;
  arena.frame();
  EXPECT_EQ(s.PosX, 1680);
  EXPECT_EQ(s.PosY, 1050);
}

TEST(Movement, OnlyTheShipsOfTheMatchMove) {
  Arena arena(kEinzelspieler, 2);
  arena.spiel.Flotte[3].PosX = 700;
  arena.spiel.Flotte[3].Tempo = 2;
  arena.spiel.Flotte[3].PauseLinks = 3;
  arena.frame();
  EXPECT_EQ(arena.spiel.Flotte[3].PosX, 700);
  EXPECT_EQ(arena.spiel.Flotte[3].PauseLinks, 3);
  EXPECT_NE(arena.spiel.Flotte[2].PosX, 20);
}

TEST(Movement, AfterTheResultTheHumanShipsSailOnWithoutDrag) {
  Arena arena;
  Schiff& s = arena.spiel.Flotte[0];
  s.Tempo = 1.5;
  s.Kurs = 90;
  arena.spiel.Flotte[1].Untergang = 0;  // Player 1 wins in the next frame
  arena.frame();
  ASSERT_EQ(arena.spiel.Spielende, 1);
  s.Tempo = 1.5;
  arena.halten(Key::S);
  arena.halten(Key::A);
  const double x = s.PosX;
  arena.frames(10);
  EXPECT_EQ(s.Tempo, 1.5);
  EXPECT_EQ(s.Kurs, 90);
  EXPECT_NEAR(s.PosX - x, 15, 1e-9);
}

}  // namespace

// The course of a match: sinking, the result and its text, restarting and leaving.
#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <set>
#include <string>

#include "presentation/anzeige.h"
#include "state/katalog.h"
#include "tests/scenario/arena.h"

namespace {

const char* const kErgebnisse[] = {"NoBody Wins!", "Player 1 Wins!", "Player 2 Wins!", "You win!",
                                   "You lose!"};

// The result text shown in the arena's last frame, or "" when none.
std::string Ergebnistext(const Arena& arena) {
  static const std::map<std::string, Textbild>* bilder = [] {
    auto* b = new std::map<std::string, Textbild>;
    for (const char* text : kErgebnisse) b->emplace(text, Textbild(400, 400, text, 0));
    return b;
  }();
  std::string gefunden;
  for (const auto& [text, bild] : *bilder) {
    if (bild.gleich(*arena.media)) gefunden += text;
  }
  return gefunden;
}

TEST(Result, EveryModeAndEnemyCountShowsItsText) {
  struct Fall {
    int32_t modus, gegner;
    std::set<int> gesunken;
    std::string text;
  };
  const Fall faelle[] = {
      {kZweiSpieler, 1, {}, ""},
      {kZweiSpieler, 1, {1}, "Player 1 Wins!"},
      {kZweiSpieler, 1, {0}, "Player 2 Wins!"},
      {kZweiSpieler, 1, {0, 1}, "NoBody Wins!"},
      {kEinzelspieler, 1, {}, ""},
      {kEinzelspieler, 1, {1}, "You win!"},
      {kEinzelspieler, 1, {0}, "You lose!"},
      {kEinzelspieler, 1, {0, 1}, "NoBody Wins!"},
      {kEinzelspieler, 1, {2, 3}, ""},
      {kEinzelspieler, 2, {1}, ""},
      {kEinzelspieler, 2, {1, 2}, "You win!"},
      {kEinzelspieler, 2, {1, 3}, ""},  // ship 3 is not in the match
      {kEinzelspieler, 2, {0, 1}, "You lose!"},
      {kEinzelspieler, 2, {0, 1, 2}, "NoBody Wins!"},
      {kEinzelspieler, 3, {1, 2}, ""},
      {kEinzelspieler, 3, {0}, "You lose!"},
      {kEinzelspieler, 3, {1, 2, 3}, "You win!"},
      {kEinzelspieler, 3, {0, 1, 2, 3}, "NoBody Wins!"},
  };
  for (const Fall& f : faelle) {
    Arena arena(f.modus, f.gegner);
    for (int schiff : f.gesunken) arena.spiel.Flotte[schiff].Untergang = 0;
    arena.frame();
    const std::string fall = std::to_string(f.modus) + "/" + std::to_string(f.gegner) + " " +
                             std::to_string(f.gesunken.size());
    EXPECT_EQ(Ergebnistext(arena), f.text) << fall;
    EXPECT_EQ(arena.spiel.Spielende, f.text.empty() ? 0 : 1) << fall;
  }
}

TEST(Result, BothLastShipsSinkingInOneFrameIsNobodysWin) {
  Arena arena;
  for (int schiff : {0, 1}) {
    arena.spiel.Flotte[schiff].Health = 0.5f;
    arena.spiel.Flotte[schiff].Untergang = 2;
  }
  arena.frame();
  EXPECT_EQ(arena.spiel.Spielende, 0);
  arena.frame();
  EXPECT_EQ(Ergebnistext(arena), "NoBody Wins!");
}

TEST(Result, AWinTurnsIntoNobodysWinWhenTheLoserSinksLater) {
  Arena arena(kEinzelspieler, 1);
  arena.spiel.Flotte[1].Untergang = 0;
  arena.spiel.Flotte[0].Health = -2;
  arena.spiel.Flotte[0].Untergang = 3;
  const char* erwartet[] = {"You win!", "You win!", "NoBody Wins!", "NoBody Wins!"};
  for (const char* text : erwartet) {
    arena.frame();
    EXPECT_EQ(Ergebnistext(arena), text);
  }
}

TEST(Sinking, AWreckedShipBurnsForAHundredFramesThenVanishes) {
  Arena arena;
  arena.spiel.Schiffstabelle[1].Health = 0;  // wrecked from the start
  arena.neuAufbauen();
  Schiff& s = arena.spiel.Flotte[1];
  s.Tempo = 0;
  arena.spiel.Flotte[0].Health = 1;  // exactly 1 is afloat
  arena.backend->keepFrameCopies(true);
  arena.frame();
  EXPECT_EQ(s.Untergang, 99);
  // The flames cover part of the ship: it looks different from an undamaged one.
  Arena heil;
  heil.spiel.Flotte[1].Tempo = 0;
  heil.backend->keepFrameCopies(true);
  heil.frame();
  int anders = 0;
  for (int y = 20; y < 170; ++y) {
    for (int x = 1500; x < 1650; ++x) {
      anders += arena.backend->lastFrame().at(x, y) != heil.backend->lastFrame().at(x, y);
    }
  }
  EXPECT_GT(anders, 100);

  arena.frames(98);
  EXPECT_EQ(s.Untergang, 1);
  EXPECT_EQ(arena.spiel.Spielende, 0);
  arena.frame();  // the 100th frame
  EXPECT_EQ(s.Untergang, 0);
  EXPECT_EQ(Ergebnistext(arena), "Player 1 Wins!");
  arena.frame();
  for (int y = 20; y < 170; ++y) {
    for (int x = 1500; x < 1650; ++x) ASSERT_EQ(arena.media->pixel(x, y), kSeeFarbe);
  }
  EXPECT_EQ(s.Untergang, 0);
  EXPECT_EQ(arena.spiel.Flotte[0].Untergang, 100);
}

TEST(Restart, ReturnSetsTheMatchUpAgainShowsNothingAndLetsThePausesRunOn) {
  Arena arena;
  Spiel& spiel = arena.spiel;
  for (Key k : {Key::W, Key::V, Key::Keypad2}) arena.halten(k);
  arena.frames(9);
  spiel.Flotte[1].Health = 3;
  spiel.Flotte[0].Untergang = 0;
  arena.frame();
  ASSERT_EQ(spiel.Spielende, 1);
  ASSERT_GT(spiel.ListeA.size(), 2u);
  const float pause = spiel.Flotte[0].PauseLinks;
  ASSERT_GT(pause, 0);
  const int gezeigt = arena.backend->framesPresented();

  arena.halten(Key::V, false);
  arena.halten(Key::Return);
  arena.frames(3);
  EXPECT_EQ(arena.backend->framesPresented(), gezeigt);
  EXPECT_EQ(spiel.Spielende, 0);
  for (int schiff : {0, 1}) {
    const Schiff& s = spiel.Flotte[schiff];
    EXPECT_EQ(s.PosX, schiff == 0 ? 150 : 1500);
    EXPECT_EQ(s.Tempo, 0.01);
    EXPECT_EQ(s.Health, 100);
    EXPECT_EQ(s.KanonenLinks, 40);
    EXPECT_EQ(s.KanonenRechts, 40);
    EXPECT_EQ(s.Untergang, 100);
  }
  EXPECT_EQ(spiel.ListeA.size(), 1u);
  EXPECT_EQ(spiel.ListeB.size(), 1u);
  EXPECT_EQ(spiel.Flotte[0].PauseLinks, pause);

  arena.halten(Key::Return, false);
  arena.frame();
  EXPECT_EQ(spiel.Flotte[0].PauseLinks, pause - 1);
  EXPECT_EQ(arena.backend->framesPresented(), gezeigt + 1);
}

TEST(Leaving, EscapeAsksOnceOnReleaseAndNoResumesTheSameMatch) {
  Arena arena;
  arena.halten(Key::W);
  arena.halten(Key::Escape);
  arena.frames(3);
  EXPECT_TRUE(arena.backend->messages().empty());
  const double x = arena.spiel.Flotte[0].PosX;
  arena.halten(Key::Escape, false);
  arena.backend->queueAnswer(false);
  EXPECT_FALSE(arena.frame());
  ASSERT_EQ(arena.backend->messages().size(), 1u);
  EXPECT_EQ(arena.backend->messages()[0].title, "Kaperfahrt");
  EXPECT_EQ(arena.backend->messages()[0].text, "Beenden");
  EXPECT_EQ(arena.backend->messages()[0].kind, MessageKind::YesNoQuestion);
  EXPECT_EQ(arena.backend->framesPresented(), 4);
  arena.frame();
  EXPECT_EQ(arena.backend->messages().size(), 1u);
  EXPECT_GT(arena.spiel.Flotte[0].PosX, x);

  arena.halten(Key::Escape);
  arena.frame();
  arena.halten(Key::Escape, false);
  arena.backend->queueAnswer(true);
  EXPECT_TRUE(arena.frame());
  EXPECT_FALSE(arena.backend->windowOpen());
  EXPECT_EQ(arena.backend->framesPresented(), 6);
}

TEST(Rendering, EveryAngleIsSetForTheNextFrameUnreduced) {
  Arena arena(kEinzelspieler, 3);
  Spiel& spiel = arena.spiel;
  spiel.Flotte[0].Klasse = 3;
  spiel.Flotte[1].Klasse = 3;
  const double kurs[] = {360.4, 20.25, 100, 200};
  for (int i = 0; i < 4; ++i) spiel.Flotte[i].Kurs = kurs[i];
  spiel.Spielende = 1;
  spiel.Flotte[0].Tempo = 2;
  spiel.Flotte[1].Tempo = 0.5;
  arena.frame();
  const Media& m = *arena.media;
  EXPECT_EQ(m.rotation(katalog::schiffsSprite(0, 3)), 360.4f);
  EXPECT_EQ(m.rotation(katalog::schiffsSprite(1, 3)), 20.25f);
  EXPECT_EQ(m.rotation(katalog::schiffsSprite(2, 2)), 100.0f);
  EXPECT_EQ(m.rotation(katalog::schiffsSprite(3, 3)), 200.0f);
  EXPECT_EQ(m.rotation(katalog::schiffsSprite(0, 0)), 0.0f);
  EXPECT_EQ(m.rotation(katalog::kNadelSpieler1), -240.0f);
  EXPECT_EQ(m.rotation(katalog::kNadelSpieler2), 15.0f);  // set in single-player mode too
  EXPECT_EQ(m.rotation(katalog::kFeuerLinksSchiff0), static_cast<float>(360.4 + 90));
  EXPECT_EQ(m.rotation(katalog::kFeuerRechtsSchiff0), static_cast<float>(360.4 - 90));
  EXPECT_EQ(m.rotation(katalog::kFeuerLinksAndere), 110.25f);
  EXPECT_EQ(m.rotation(katalog::kFeuerRechtsAndere), -69.75f);
  EXPECT_EQ(m.rotation(katalog::kFlammenSchiff0), 360.4f);
  EXPECT_EQ(m.rotation(katalog::kFlammenAndere), 20.25f);  // also over ships 2 and 3
  EXPECT_EQ(spiel.Flotte[0].Kurs, 1);
}

// A ship, its flames and its label stand on its position rounded half to even; a label
// shows the rounded health whole, however large.
TEST(Rendering, ShipsFlamesAndLabelsStandOnTheirPositionsRoundedHalfToEven) {
  struct Fall {
    double x, y;
    float health;
    int gx, gy;
    const char* label;
  };
  const Fall faelle[] = {
      {150.7, 2.5, 99.6f, 151, 2, "Health: 100"},
      {-10.7, 600.5, 0.5f, -11, 600, "Health: 0"},
      {700.5, 301.5, 2.5f, 700, 302, "Health: 2"},
      {400.2, 500, 3e9f, 400, 500, "Health: 3000000000"},
      {400, 499.5, 1e30f, 400, 500, "Health: 1000000015047466219876688855040"},
      {400, 500, std::numeric_limits<float>::infinity(), 400, 500, "Health: inf"},
  };
  for (const Fall& fall : faelle) {
    Arena genau(kEinzelspieler, 1), gerundet(kEinzelspieler, 1);
    for (Arena* arena : {&genau, &gerundet}) {
      Schiff& s = arena->spiel.Flotte[1];
      s.Health = fall.health;
      s.Kurs = 30;
      s.PosX = arena == &genau ? fall.x : fall.gx;
      s.PosY = arena == &genau ? fall.y : fall.gy;
    }
    genau.media->clearScreen(kSeeFarbe);
    AnzeigeZeichnen(genau.spiel, *genau.media);
    EXPECT_TRUE(Textbild(fall.gx, fall.gy, fall.label).gleich(*genau.media)) << fall.label;
    for (Arena* arena : {&genau, &gerundet}) {
      arena->backend->keepFrameCopies(true);
      arena->frame();
    }
    EXPECT_EQ(genau.backend->lastFrame().pixels, gerundet.backend->lastFrame().pixels)
        << fall.x << ", " << fall.y;
  }
}

// Step 1 of a frame: every pending window event at once, then one pause of 5 ms, however
// many events a mouse queued.
TEST(Frame, AnyNumberOfWindowEventsCostsOnePause) {
  for (int events : {0, 1, 1000}) {
    Arena arena;
    arena.backend->setPresentCostMicros(20000);  // a slow frame: the pacing adds no wait
    arena.backend->queueEvents(events);
    arena.frame();
    EXPECT_EQ(arena.backend->sleptMicros(), 5000u) << events;
    EXPECT_FALSE(arena.backend->pollEvent()) << events;
  }
}

}  // namespace

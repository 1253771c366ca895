// A frame run with controls handed to it (as a network peer hands them) obeys those alone.
#include <gtest/gtest.h>

#include "flow/schlacht.h"
#include "gunnery/kugeln.h"
#include "tests/scenario/arena.h"

namespace {

TEST(GivenControls, AFrameObeysTheControlsItIsGivenAndNotTheKeyboard) {
  Arena arena(kZweiSpieler);
  arena.spiel.Flotte[0].Tempo = 1;
  arena.spiel.Flotte[1].Tempo = 1;
  arena.halten(Key::W);  // held, but this frame's controls come from elsewhere
  arena.media->pollKeyboard();
  Eingaben eingaben;
  eingaben.Spieler[1].Beschleunigen = true;
  eingaben.Spieler[1].FeuerRechts = true;
  EXPECT_FALSE(Frame(arena.spiel, *arena.media, eingaben));
  EXPECT_EQ(arena.spiel.Flotte[0].Tempo, 1 - 0.003);
  EXPECT_EQ(arena.spiel.Flotte[1].Tempo, 1 + double{0.015f});
  int schuesse[2] = {0, 0};
  for (const auto* liste : {&arena.spiel.ListeA, &arena.spiel.ListeB}) {
    for (const Kugel& k : *liste) {
      if (k.Seite != 0) ++schuesse[k.Schuetze == 1];  // Seite 0: the lists' placeholders
    }
  }
  EXPECT_EQ(schuesse[0], 0);
  EXPECT_GT(schuesse[1], 0);

  eingaben = {};
  eingaben.Neustart = true;
  arena.spiel.Flotte[0].PosX = 777;
  EXPECT_FALSE(Frame(arena.spiel, *arena.media, eingaben));
  EXPECT_NE(arena.spiel.Flotte[0].PosX, 777);
  EXPECT_EQ(arena.backend->messages().size(), 0u);

  eingaben = {};
  eingaben.Verlassen = true;
  arena.backend->queueAnswer(true);
  EXPECT_TRUE(Frame(arena.spiel, *arena.media, eingaben));
  EXPECT_EQ(arena.backend->messages().size(), 1u);
}

TEST(GivenControls, APadRumblesWhenItsPlayersShipIsHit) {
  for (const int pads : {1, 2}) {
    Arena arena(kZweiSpieler);
    arena.backend->setPads(std::vector<PadState>(static_cast<size_t>(pads)));
    for (int schiff : {0, 1}) {
      Schiff& s = arena.spiel.Flotte[schiff];
      s.PosX = 500.0 + 400 * schiff;
      s.PosY = 300;
      s.Tempo = 0;
      s.Kurs = 360;
    }
    arena.frame();
    EXPECT_TRUE(arena.backend->rumbles().empty());
    // A ball at rest on Player 1's waist; a lone pad is Player 2's.
    KugelAnhaengen(arena.spiel.ListeB, 574, 400, 5, 0, 0, 1);
    arena.frame();
    EXPECT_EQ(arena.backend->rumbles(), (pads == 1 ? std::vector<int>{} : std::vector<int>{0}));
    KugelAnhaengen(arena.spiel.ListeA, 974, 400, 5, 0, 0);
    arena.frame();
    EXPECT_EQ(arena.backend->rumbles(), (pads == 1 ? std::vector<int>{0} : std::vector<int>{0, 1}));
    arena.media->setSilent(true);  // a frame played again
    KugelAnhaengen(arena.spiel.ListeB, 574, 400, 5, 0, 0, 1);
    const float health = arena.spiel.Flotte[0].Health;
    arena.frame();
    EXPECT_LT(arena.spiel.Flotte[0].Health, health);
    EXPECT_EQ(arena.backend->rumbles().size(), static_cast<size_t>(pads));
  }
}

}  // namespace

// A battle is a function of its state and the players' keys: the same keys give the same
// bytes, drawn or silent, and a snapshot restored and played again ends where the straight
// run did. What two computers compare (the checksum) sees every field that decides it.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "state/katalog.h"
#include "state/snapshot.h"
#include "tests/scenario/arena.h"

namespace {

constexpr std::array kTasten = {Key::W,    Key::S,     Key::A, Key::D, Key::Up,      Key::Down,
                                Key::Left, Key::Right, Key::V, Key::B, Key::Keypad1, Key::Keypad2};

// Keys held for spans of 16 frames, from a hash of the span and the key; Return now and then.
bool Gedrueckt(Key taste, int frame) {
  uint32_t h =
      static_cast<uint32_t>(frame / 16) * 2654435761u ^ static_cast<uint32_t>(taste) * 40503u;
  h ^= h >> 15;
  h *= 2246822519u;
  h ^= h >> 13;
  if (taste == Key::Return) return frame % 1500 == 1499;
  if (taste == Key::V || taste == Key::B || taste == Key::Keypad1 || taste == Key::Keypad2)
    return h % 3 == 0;
  return h % 4 == 0;
}

void TastenSetzen(Arena& arena, int frame) {
  for (Key taste : kTasten) arena.halten(taste, Gedrueckt(taste, frame));
  arena.halten(Key::Return, Gedrueckt(Key::Return, frame));
}

// Two ships close together, so that balls fly, hit and the random offsets are drawn.
void NahBeieinander(Arena& arena) {
  arena.spiel.Flotte[1].PosX = 350;
  arena.spiel.Flotte[1].PosY = 700;
}

TEST(Determinism, TheSameKeysGiveTheSameBytesDrawnOrSilent) {
  Arena gezeigt, still;
  still.media->setSilent(true);
  NahBeieinander(gezeigt);
  NahBeieinander(still);
  float wenigsteHealth = gezeigt.spiel.Flotte[1].Health;
  for (int frame = 0; frame < 3000; ++frame) {
    TastenSetzen(gezeigt, frame);
    TastenSetzen(still, frame);
    gezeigt.frame();
    still.frame();
    wenigsteHealth = std::min(wenigsteHealth, gezeigt.spiel.Flotte[1].Health);
    if (frame % 50 == 0) {
      ASSERT_EQ(stateBytes(gezeigt.spiel), stateBytes(still.spiel)) << frame;
    }
  }
  EXPECT_EQ(stateBytes(gezeigt.spiel), stateBytes(still.spiel));
  EXPECT_EQ(stateChecksum(gezeigt.spiel), stateChecksum(still.spiel));
  // Not an empty match: ship 1 was hit, and only the shown one made sounds and frames.
  EXPECT_LT(wenigsteHealth, gezeigt.spiel.Schiffstabelle[1].Health);
  EXPECT_GT(gezeigt.toene(katalog::kTrefferTon), 0);
  EXPECT_EQ(still.backend->soundsPlayed().size(), 0u);
  EXPECT_EQ(still.backend->framesPresented(), 0);
}

TEST(Determinism, ASnapshotRestoredAndPlayedSilentlyAgainEndsWhereTheStraightRunDid) {
  constexpr int kZurueck = 8;
  Arena arena;
  NahBeieinander(arena);
  std::array<Spiel, kZurueck + 1> ring;
  int gerollt = 0;
  for (int frame = 0; frame < 2000; ++frame) {
    ring[frame % ring.size()] = arena.spiel;
    TastenSetzen(arena, frame);
    arena.frame();
    if (frame < kZurueck || frame % 37 != 0) continue;
    const std::vector<uint8_t> gerade = stateBytes(arena.spiel);
    arena.spiel = ring[(frame - kZurueck + 1) % ring.size()];
    arena.media->setSilent(true);
    for (int f = frame - kZurueck + 1; f <= frame; ++f) {
      TastenSetzen(arena, f);
      arena.frame();
    }
    arena.media->setSilent(false);
    ASSERT_EQ(stateBytes(arena.spiel), gerade) << "rolled back at frame " << frame;
    gerollt += arena.spiel.ListeA.size() + arena.spiel.ListeB.size() > 2;
  }
  EXPECT_GT(gerollt, 10);  // many of the rollbacks had balls in flight
}

// Each level's captains play the same single-player battle for the same seed, and what they
// remember lives in the state: a snapshot played again ends where the straight run did.
TEST(Determinism, EveryCaptainLevelPlaysTheSameBattleAgainForTheSameSeed) {
  for (int32_t stufe : {kStufeLeicht, kStufeNormal, kStufeSchwer}) {
    std::vector<uint8_t> ende[2];
    for (auto& bytes : ende) {
      Arena arena(kEinzelspieler, 3, 99);
      arena.spiel.Kapitaensstufe = stufe;
      arena.media->setSilent(true);
      Spiel mitte;
      for (int frame = 0; frame < 1200; ++frame) {
        if (frame == 800) mitte = arena.spiel;
        TastenSetzen(arena, frame);
        arena.frame();
      }
      bytes = stateBytes(arena.spiel);
      arena.spiel = mitte;
      for (int frame = 800; frame < 1200; ++frame) {
        TastenSetzen(arena, frame);
        arena.frame();
      }
      EXPECT_EQ(stateBytes(arena.spiel), bytes) << stufe;
    }
    EXPECT_EQ(ende[0], ende[1]) << stufe;
  }
}

TEST(Checksum, EveryFieldThatDecidesTheBattleCountsAndNoOtherDoes) {
  Arena arena;
  arena.frames(40);
  arena.halten(Key::B);
  arena.frames(20);
  const Spiel vorher = arena.spiel;
  ASSERT_GT(vorher.ListeA.size(), 2u);
  using Aenderung = std::function<void(Spiel&)>;
  const std::vector<std::pair<std::string, Aenderung>> zaehlt = {
      {"class", [](Spiel& s) { s.Schiffstabelle[7].Schaden += 1; }},
      {"position", [](Spiel& s) { s.Flotte[3].PosY = std::nextafter(s.Flotte[3].PosY, 1e9); }},
      {"reloading", [](Spiel& s) { s.Flotte[1].Nachladen ^= 1; }},
      {"mode", [](Spiel& s) { s.SpielModus = kEinzelspieler; }},
      {"result", [](Spiel& s) { s.Spielende = 1; }},
      {"range", [](Spiel& s) { s.Reichweite += 1; }},
      {"ball age", [](Spiel& s) { s.ListeA.back().Alter += 1; }},
      {"ball shooter", [](Spiel& s) { s.ListeB.back().Schuetze = 2; }},
      {"ball gone", [](Spiel& s) { s.ListeA.pop_back(); }},
      {"ball moved over",
       [](Spiel& s) { s.ListeB.push_back(s.ListeA.back()), s.ListeA.pop_back(); }},
      {"offset", [](Spiel& s) { s.Schussversatz[1] += 1; }},
      {"muzzle",
       [](Spiel& s) {
         auto& m = s.Muendungsversatz[2][1][0];
         m = std::nextafter(m, 1e9);
       }},
      {"random draw", [](Spiel& s) { s.Zufall.Zahl(80); }},
      {"captains' level", [](Spiel& s) { s.Kapitaensstufe = kStufeSchwer; }},
      {"captain's memory", [](Spiel& s) { s.Kapitaene[2].Seite = 2; }},
  };
  for (const auto& [name, aendern] : zaehlt) {
    Spiel s = vorher;
    aendern(s);
    EXPECT_NE(stateBytes(s), stateBytes(vorher)) << name;
    EXPECT_NE(stateChecksum(s), stateChecksum(vorher)) << name;
  }
  Spiel eigen = vorher;  // what each computer keeps for itself
  eigen.Sound = 1 - eigen.Sound;
  eigen.SchussLautstaerke = 3;
  eigen.TrefferLautstaerke = 4;
  eigen.DesktopBreite = 640;
  EXPECT_EQ(stateChecksum(eigen), stateChecksum(vorher));
}

}  // namespace

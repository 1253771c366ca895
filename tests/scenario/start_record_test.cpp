// Every battle starts from one record: a local battle runs again from its record frame for
// frame whatever the program did before, and a network battle starts from the same bytes on
// a computer that played before as on a fresh one.
#include "flow/start_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "flow/schlacht.h"
#include "net/protocol.h"
#include "state/snapshot.h"
#include "tests/scenario/arena.h"

namespace {

// Both players sail, turn and fire in spans of frames; Return once in a while.
Eingaben scripted(int frame) {
  uint32_t h = static_cast<uint32_t>(frame / 19 + 1) * 2654435761u;
  h ^= h >> 13;
  Eingaben e;
  for (int p = 0; p < 2; ++p) {
    const uint32_t b = h >> (p * 8);
    e.Spieler[p] = {(b & 1) != 0, false, (b & 2) != 0, (b & 4) != 0, (b & 8) != 0, (b & 16) != 0};
  }
  e.Neustart = frame % 250 == 240;
  return e;
}

// A local battle as the outer loop starts one, played with fire and a restart, and left
// paused: what it leaves behind is what the next battle inherits.
void playLocal(Arena& arena, int32_t mode, int32_t enemies, int frames) {
  arena.spiel.SpielModus = mode;
  arena.spiel.Gegneranzahl = enemies;
  startBattle(arena.spiel, localStartRecord(arena.spiel));
  for (int f = 0; f < frames; ++f) Frame(arena.spiel, *arena.media, scripted(f));
  Eingaben pause;
  pause.Pause = true;
  Frame(arena.spiel, *arena.media, pause);
  ASSERT_TRUE(arena.spiel.Pause.Taste);
}

bool sameShip(const Schiff& a, const Schiff& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(StartRecord, ALocalBattleRunsAgainFromItsRecordFrameForFrame) {
  Arena played(kEinzelspieler, 3, 5);
  played.media->setSilent(true);
  playLocal(played, kEinzelspieler, 3, 400);
  playLocal(played, kZweiSpieler, 1, 300);
  // Now one enemy: ships 2 and 3 keep what the battle against three left them.
  const Schiff ship2 = played.spiel.Flotte[2], ship3 = played.spiel.Flotte[3];
  played.spiel.SpielModus = kEinzelspieler;
  played.spiel.Gegneranzahl = 1;
  played.spiel.Kapitaensstufe = kStufeSchwer;  // the fresh arena's captains are Normal
  const StartRecord record = localStartRecord(played.spiel);
  startBattle(played.spiel, record);
  EXPECT_TRUE(sameShip(played.spiel.Flotte[2], ship2) && sameShip(played.spiel.Flotte[3], ship3));

  Arena again(kZweiSpieler, 1, 99);
  again.media->setSilent(true);
  startBattle(again.spiel, record);
  for (int f = 0; f < 600; ++f) {
    ASSERT_EQ(stateChecksum(played.spiel), stateChecksum(again.spiel)) << "frame " << f;
    Frame(played.spiel, *played.media, scripted(f + 7));
    Frame(again.spiel, *again.media, scripted(f + 7));
  }
  EXPECT_EQ(stateBytes(played.spiel), stateBytes(again.spiel));
  EXPECT_FALSE(played.spiel.Pause.Taste);  // the pause left on ended with that battle
}

TEST(StartRecord, ANetworkBattleStartsFromTheSameBytesWhateverCameBefore) {
  Arena played(kEinzelspieler, 3, 5), fresh(kZweiSpieler, 1, 6);
  played.media->setSilent(true);
  fresh.media->setSilent(true);
  playLocal(played, kEinzelspieler, 2, 300);
  playLocal(played, kZweiSpieler, 1, 300);
  played.spiel.Sound = 0;
  Welcome welcome = welcomeFor(fresh.spiel, 1234);
  welcome.schiffstabelle[4].Health = 7;
  for (Arena* a : {&played, &fresh}) startBattle(a->spiel, matchStart(welcome, 4, 1));
  EXPECT_EQ(stateBytes(played.spiel), stateBytes(fresh.spiel));
  for (int f = 0; f < 300; ++f) {
    Frame(played.spiel, *played.media, scripted(f));
    Frame(fresh.spiel, *fresh.media, scripted(f));
  }
  EXPECT_EQ(stateBytes(played.spiel), stateBytes(fresh.spiel));
  EXPECT_EQ(played.spiel.Sound, 0);  // each computer's own
}

}  // namespace

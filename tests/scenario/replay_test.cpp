// A two-player match replayed from a scripted key stream with a fixed seed. The state is
// summed up every 500 frames and compared with the stored summary, so that a change of
// behaviour shows as a diff. After an intended change, regenerate the file with
// KF_REPLAY_UPDATE=1 and review the diff.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "state/katalog.h"
#include "tests/scenario/arena.h"

namespace {

struct Tastendruck {
  Key taste;
  int von, bis;  // held in frames von to bis - 1
};

// Player 2 sails down the field past Player 1's starboard side; both fire their starboard
// batteries as they pass. Later a question answered No, a restart and a second pass.
constexpr Tastendruck kSkript[] = {{Key::Up, 0, 1000},         {Key::B, 650, 1000},
                                   {Key::Keypad2, 700, 950},   {Key::Escape, 1200, 1205},
                                   {Key::Return, 1500, 1503},  {Key::Up, 1510, 2500},
                                   {Key::Right, 1600, 1606},   {Key::B, 2150, 2600},
                                   {Key::Keypad2, 2200, 2500}, {Key::S, 2600, 2650}};
constexpr int kFrames = 3000;

std::string Zahl(double v) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", v);
  return text;
}

std::string Zusammenfassung(const Arena& arena, int frame) {
  const Spiel& spiel = arena.spiel;
  std::ostringstream out;
  out << "frame " << frame << ": Spielende " << spiel.Spielende << ", shown "
      << arena.backend->framesPresented() << ", questions " << arena.backend->messages().size()
      << ", shots " << arena.toene(katalog::kSchussTon) << ", hits "
      << arena.toene(katalog::kTrefferTon) << "\n";
  for (int i = 0; i < 2; ++i) {
    const Schiff& s = spiel.Flotte[i];
    out << "  ship " << i << ": Pos " << Zahl(s.PosX) << " " << Zahl(s.PosY) << " Tempo "
        << Zahl(s.Tempo) << " Kurs " << Zahl(s.Kurs) << " Health " << Zahl(s.Health) << " Kanonen "
        << Zahl(s.KanonenLinks) << " " << Zahl(s.KanonenRechts) << " Pause " << Zahl(s.PauseLinks)
        << " " << Zahl(s.PauseRechts) << " Untergang " << s.Untergang << "\n";
  }
  for (const auto* liste : {&spiel.ListeA, &spiel.ListeB}) {
    double x = 0, y = 0;
    int64_t alter = 0;
    for (const Kugel& k : *liste) {
      x += k.PosX;
      y += k.PosY;
      alter += k.Alter;
    }
    out << "  list " << (liste == &spiel.ListeA ? "A" : "B") << ": " << liste->size()
        << " balls, sum of positions " << Zahl(x) << " " << Zahl(y) << ", of ages " << alter
        << "\n";
  }
  return out.str();
}

std::string Gespeichert(const std::string& datei) {
  std::ifstream in(datei);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(Replay, AScriptedMatchEndsAsRecorded) {
  Arena arena(kZweiSpieler, 1, 20240607);
  arena.spiel.Schiffstabelle[1].Health = 5;
  arena.neuAufbauen();
  std::string summary;
  for (int frame = 0; frame < kFrames; ++frame) {
    for (const Key taste :
         {Key::W, Key::S, Key::A, Key::D, Key::Up, Key::Down, Key::Left, Key::Right, Key::V, Key::B,
          Key::Keypad1, Key::Keypad2, Key::Return, Key::Escape}) {
      bool unten = false;
      for (const Tastendruck& t : kSkript)
        unten |= t.taste == taste && t.von <= frame && frame < t.bis;
      arena.halten(taste, unten);
    }
    ASSERT_FALSE(arena.frame());
    if ((frame + 1) % 500 == 0) summary += Zusammenfassung(arena, frame + 1);
  }
  if (std::getenv("KF_REPLAY_UPDATE") != nullptr) {
    std::ofstream(KF_REPLAY_EXPECTED) << summary;
    GTEST_SKIP() << "rewrote " << KF_REPLAY_EXPECTED;
  }
  EXPECT_EQ(summary, Gespeichert(KF_REPLAY_EXPECTED));
}

}  // namespace

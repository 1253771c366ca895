// The captains' arena: seeded battles between the levels of the computer captains, and of
// each level against a scripted player, as fast as the machine allows, one line per pairing.
//   arena [battles per pairing, default 500]
// Ends with 1 when a target is missed: the stronger level of a pairing wins at least 75 % of
// the decided battles, and the levels rank Leicht < Normal < Schwer against the scripted player.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "tests/arena/duell.h"

namespace {

struct Paarung {
  Fuehrung a, b;  // a's wins are counted
  bool ziel75;    // a must win at least 75 % of the decided battles
};

constexpr Paarung kPaarungen[] = {
    {Fuehrung::Schwer, Fuehrung::Normal, true},  {Fuehrung::Normal, Fuehrung::Leicht, true},
    {Fuehrung::Schwer, Fuehrung::Leicht, true},  {Fuehrung::Leicht, Fuehrung::Skript, false},
    {Fuehrung::Normal, Fuehrung::Skript, false}, {Fuehrung::Schwer, Fuehrung::Skript, false},
};

struct Bilanz {
  int siege = 0, niederlagen = 0, unentschieden = 0;
  long long frames = 0;
  double quote() const {
    const int entschieden = siege + niederlagen;
    return entschieden > 0 ? static_cast<double>(siege) / entschieden : 0;
  }
};

// Battle n: the places change every battle; between two levels the ships change every other
// battle too, so that each level sails each ship from each place. The scripted player always
// sails ship 0, the player's.
Ausgang Schlacht(Arena& arena, const Paarung& p, int n) {
  const bool plaetze = n % 2 == 1;
  const bool getauscht = p.b != Fuehrung::Skript && (n / 2) % 2 == 1;
  const uint32_t seed = 1000003u * static_cast<uint32_t>(n + 1);
  const Fuehrung erster = getauscht ? p.a : p.b;
  const Fuehrung zweiter = getauscht ? p.b : p.a;
  Ausgang a = Duell(arena, erster, zweiter, plaetze, seed);
  // Report the winner as seen from p.a: 0 is a, 1 is b.
  const int schiffVonA = getauscht ? 0 : 1;
  if (a.sieger >= 0) a.sieger = a.sieger == schiffVonA ? 0 : 1;
  return a;
}

Bilanz Austragen(const Paarung& p, int schlachten, std::vector<std::unique_ptr<Arena>>& arenen) {
  std::vector<Ausgang> ausgaenge(schlachten);
  std::atomic<int> naechste{0};
  std::vector<std::thread> arbeiter;
  for (auto& arena : arenen) {
    arbeiter.emplace_back([&, a = arena.get()] {
      for (int n = naechste++; n < schlachten; n = naechste++) ausgaenge[n] = Schlacht(*a, p, n);
    });
  }
  for (std::thread& t : arbeiter) t.join();
  Bilanz b;
  for (const Ausgang& a : ausgaenge) {
    b.frames += a.frames;
    if (a.sieger == 0) {
      ++b.siege;
    } else if (a.sieger == 1) {
      ++b.niederlagen;
    } else {
      ++b.unentschieden;
    }
  }
  return b;
}

}  // namespace

int main(int argc, char** argv) {
  const int schlachten = argc > 1 ? std::atoi(argv[1]) : 500;
  if (schlachten < 1) {
    std::fprintf(stderr, "usage: %s [battles per pairing]\n", argv[0]);
    return 2;
  }
  const unsigned kerne = std::max(1u, std::thread::hardware_concurrency());
  std::vector<std::unique_ptr<Arena>> arenen;
  for (unsigned i = 0; i < std::min<unsigned>(kerne, schlachten); ++i) {
    arenen.push_back(std::make_unique<Arena>(kEinzelspieler, 1, 1));
  }
  const auto start = std::chrono::steady_clock::now();
  bool erreicht = true;
  double skriptQuote[3] = {};
  for (const Paarung& p : kPaarungen) {
    const Bilanz b = Austragen(p, schlachten, arenen);
    std::printf("%s gegen %s: %d Siege, %d Niederlagen, %d unentschieden (%d Schlachten)\n",
                Name(p.a), Name(p.b), b.siege, b.niederlagen, b.unentschieden, schlachten);
    std::printf("    %.0f %% der entschiedenen gewonnen, im Mittel %lld Frames je Schlacht\n",
                100 * b.quote(), b.frames / schlachten);
    std::fflush(stdout);
    if (p.ziel75 && b.quote() < 0.75) erreicht = false;
    if (p.b == Fuehrung::Skript) skriptQuote[static_cast<int>(p.a)] = b.quote();
  }
  if (!(skriptQuote[0] < skriptQuote[1] && skriptQuote[1] < skriptQuote[2])) erreicht = false;
  const double sekunden =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%s in %.0f s auf %zu Kernen\n", erreicht ? "Ziele erreicht" : "Ziele verfehlt",
              sekunden, arenen.size());
  return erreicht ? 0 : 1;
}

// Hostile soak: long single-player battles against three ships with scripted keys, once with
// the default classes and once for each hostile value in each class field in turn (and a
// range of 0). Meant for the sanitizer build: a fault shows as a sanitizer report; what this
// program checks itself is that the ball lists stay within their bound, the ships within
// numbers, and the resident memory flat.
//   soak <frames per case> [case ...]     cases: all (default), default, Reichweite=0,
//                                         <Feld>=<0|-1|1e30|inf|nan>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "assets/embedded.h"
#include "flow/schlacht.h"
#include "flow/start.h"
#include "flow/start_record.h"
#include "gunnery/kugeln.h"
#include "media/headless.h"
#include "settings/settings_keys.h"

// Freed memory waits in ASan's quarantine (256 MB by default) and would show as growth.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=8"; }

namespace {

// The headless backend without its record of every sound: in a long run that record alone
// would grow.
class SoakBackend : public HeadlessBackend {
 public:
  void soundStarted(int /*sound*/, int /*volume*/) override { ++sounds; }
  long long sounds = 0;
};

struct Fall {
  std::string name;
  float SchiffsTyp::*feld = nullptr;  // none: the default classes
  float wert = 0;
  bool ohneReichweite = false;  // Option 1 with Reichweite 0
};

std::vector<Fall> AlleFaelle() {
  std::vector<Fall> faelle{{"default"}, {"Reichweite=0", nullptr, 0, true}};
  const std::pair<const char*, float> werte[] = {{"0", 0.0f},
                                                 {"-1", -1.0f},
                                                 {"1e30", 1e30f},
                                                 {"inf", std::numeric_limits<float>::infinity()},
                                                 {"nan", std::numeric_limits<float>::quiet_NaN()}};
  for (const ClassKey& key : kClassKeys) {
    std::string name;
    for (char c : key.key) {  // the Latin-1 umlauts as in the game's identifiers
      const auto b = static_cast<unsigned char>(c);
      name += b == 0xE4 ? "ae" : b == 0xF6 ? "oe" : b == 0xFC ? "ue" : std::string(1, c);
    }
    for (const auto& [text, wert] : werte) faelle.push_back({name + "=" + text, key.field, wert});
  }
  return faelle;
}

// Keys held in turn, each set for 150 frames: sailing, turning, braking and both batteries.
const std::vector<std::vector<Key>> kTastenfolge = {
    {Key::W, Key::V}, {Key::W, Key::D, Key::B}, {Key::A, Key::V, Key::B},
    {Key::S},         {Key::W, Key::A},         {},
    {Key::D, Key::B}, {Key::W, Key::V, Key::B}};
constexpr int kPhase = 150;
constexpr int kNeustartAlle = 7919;   // Return for one frame: a fresh match
constexpr int kVerlassenAlle = 4999;  // Escape pressed and released; the question answers No

long residentKb(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::string(field).size());
  }
  return 0;
}

struct Ergebnis {
  size_t spitzeA = 0, spitzeB = 0;
  long rssNachAnlauf = 0, rssEnde = 0;
  bool gut = true;
};

void Tasten(SoakBackend& backend, int frame) {
  const std::vector<Key>& halten = kTastenfolge[(frame / kPhase) % kTastenfolge.size()];
  for (Key k : {Key::W, Key::S, Key::A, Key::D, Key::V, Key::B}) backend.setKey(k, false);
  for (Key k : halten) backend.setKey(k, true);
  backend.setKey(Key::Return, frame > 0 && frame % kNeustartAlle == 0);
  backend.setKey(Key::Escape, frame > 0 && frame % kVerlassenAlle == 0);
}

Ergebnis Laufen(const Fall& fall, int frames) {
  auto owned = std::make_unique<SoakBackend>();
  SoakBackend& backend = *owned;
  Media media(std::move(owned), 11);
  Spiel spiel;
  Hochfahren(spiel, media);
  openBattleMedia(media, kScreenWidth, kScreenHeight, embeddedFile);
  StartRecord start = defaultStartRecord(kEinzelspieler, 3, media.randomSeed());
  if (fall.feld != nullptr) {
    for (SchiffsTyp& typ : start.Schiffstabelle) typ.*fall.feld = fall.wert;
  }
  if (fall.ohneReichweite) {
    start.Option = 1;
    start.Reichweite = 0;
  }
  for (int i = 0; i < kSchiffsAnzahl; ++i) start.Flotte[i].Klasse = (i * 3) % kKlassenAnzahl;
  spiel.Sound = GameOptions{}.Sound;
  startBattle(spiel, start);

  Ergebnis e;
  for (int frame = 0; frame < frames; ++frame) {
    Tasten(backend, frame);
    // Every level of the captains in turn, even in a short run.
    spiel.Kapitaensstufe = (frame / 80) % 3 - 1;
    Frame(spiel, media);
    e.spitzeA = std::max(e.spitzeA, spiel.ListeA.size());
    e.spitzeB = std::max(e.spitzeB, spiel.ListeB.size());
    if (spiel.ListeA.size() > kKugelnHoechstens || spiel.ListeB.size() > kKugelnHoechstens) {
      std::printf("  frame %d: a ball list holds %zu and %zu\n", frame, spiel.ListeA.size(),
                  spiel.ListeB.size());
      e.gut = false;
      break;
    }
    for (int i = 0; i <= spiel.Gegneranzahl; ++i) {
      const Schiff& s = spiel.Flotte[i];
      if (!std::isfinite(s.PosX) || !std::isfinite(s.PosY)) {
        std::printf("  frame %d: ship %d at %g, %g\n", frame, i, s.PosX, s.PosY);
        e.gut = false;
      }
    }
    if (!e.gut) break;
    if (frame == frames / 5) e.rssNachAnlauf = residentKb("VmRSS:");
  }
  e.rssEnde = residentKb("VmRSS:");
  return e;
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::atoi(argv[1]) : 100000;
  if (frames < 5) {
    std::fprintf(stderr, "usage: %s <frames per case> [case ...]\n", argv[0]);
    return 2;
  }
  std::vector<std::string> gewaehlt(argv + std::min(argc, 2), argv + argc);
  const bool alle = gewaehlt.empty() || gewaehlt == std::vector<std::string>{"all"};
  // Memory may grow this much after the first fifth of a case (caches of rendered labels
  // filling up), not with the length of the run.
  constexpr long kWachstumKb = 16 * 1024;
  int schlecht = 0, gelaufen = 0;
  size_t spitzeA = 0, spitzeB = 0;
  const auto start = std::chrono::steady_clock::now();
  for (const Fall& fall : AlleFaelle()) {
    if (!alle && std::find(gewaehlt.begin(), gewaehlt.end(), fall.name) == gewaehlt.end()) {
      continue;
    }
    const auto t0 = std::chrono::steady_clock::now();
    Ergebnis e = Laufen(fall, frames);
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const long wachstum = e.rssEnde - e.rssNachAnlauf;
    if (wachstum > kWachstumKb) e.gut = false;
    std::printf("%-32s %d frames %6.1f s  peak balls A %4zu B %4zu  RSS %ld kB (%+ld)  %s\n",
                fall.name.c_str(), frames, s, e.spitzeA, e.spitzeB, e.rssEnde, wachstum,
                e.gut ? "ok" : "FAILED");
    std::fflush(stdout);
    spitzeA = std::max(spitzeA, e.spitzeA);
    spitzeB = std::max(spitzeB, e.spitzeB);
    schlecht += e.gut ? 0 : 1;
    ++gelaufen;
  }
  const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf(
      "%d cases, %lld frames, %.0f s; peak balls A %zu B %zu (bound %zu); peak RSS %ld "
      "kB; %d failed\n",
      gelaufen, static_cast<long long>(gelaufen) * frames, s, spitzeA, spitzeB, kKugelnHoechstens,
      residentKb("VmHWM:"), schlecht);
  return gelaufen > 0 && schlecht == 0 ? 0 : 1;
}

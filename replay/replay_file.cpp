#include "replay/replay_file.h"

#include <bit>
#include <cmath>
#include <cstring>

#include "state/build_identity.h"

namespace {

constexpr char kMagic[8] = {'K', 'A', 'P', 'E', 'R', 'W', 'D', 'H'};
constexpr uint16_t kFormat = 1;
constexpr size_t kMaxText = 64;
// No value of a class or a ship's start comes near this; it keeps hostile files finite.
constexpr double kMaxMagnitude = 1e9;

constexpr ReplayProblem kCut = ReplayProblem::Cut;
constexpr ReplayProblem kCorrupt = ReplayProblem::Corrupt;

uint64_t fnv1a(std::span<const uint8_t> bytes) {
  uint64_t h = 0xcbf29ce484222325ull;
  for (const uint8_t b : bytes) h = (h ^ b) * 0x100000001b3ull;
  return h;
}

struct Writer {
  std::vector<uint8_t> bytes;
  template <typename T>
  void put(T value) {
    using U = std::conditional_t<
        sizeof(T) == 8, uint64_t,
        std::conditional_t<sizeof(T) == 4, uint32_t,
                           std::conditional_t<sizeof(T) == 2, uint16_t, uint8_t>>>;
    const U u = std::bit_cast<U>(value);
    for (size_t i = 0; i < sizeof(U); ++i) bytes.push_back(static_cast<uint8_t>(u >> (8 * i)));
  }
  void varint(uint32_t v) {
    while (v >= 0x80) {
      bytes.push_back(static_cast<uint8_t>(v | 0x80));
      v >>= 7;
    }
    bytes.push_back(static_cast<uint8_t>(v));
  }
  void text(const std::string& s) {
    put(static_cast<uint8_t>(s.size()));
    bytes.insert(bytes.end(), s.begin(), s.end());
  }
};

// Reads until the bytes run out (a cut file) or a value cannot be (a corrupt one); after the
// first problem every read yields zero.
struct Reader {
  std::span<const uint8_t> bytes;
  size_t at = 0;
  ReplayProblem problem = ReplayProblem::None;

  bool fail(ReplayProblem why) {
    if (problem == ReplayProblem::None) problem = why;
    return false;
  }
  bool take(size_t n) {
    if (problem != ReplayProblem::None) return false;
    if (bytes.size() - at < n) return fail(kCut);
    return true;
  }
  template <typename T>
  T get() {
    using U = std::conditional_t<
        sizeof(T) == 8, uint64_t,
        std::conditional_t<sizeof(T) == 4, uint32_t,
                           std::conditional_t<sizeof(T) == 2, uint16_t, uint8_t>>>;
    if (!take(sizeof(U))) return T{};
    U u = 0;
    for (size_t i = 0; i < sizeof(U); ++i) u |= static_cast<U>(U{bytes[at + i]} << (8 * i));
    at += sizeof(U);
    return std::bit_cast<T>(u);
  }
  template <typename T>
  T real() {
    const T v = get<T>();
    if (!std::isfinite(v) || std::fabs(v) > kMaxMagnitude) fail(kCorrupt);
    return v;
  }
  uint32_t varint() {
    uint32_t v = 0;
    for (int shift = 0; shift < 35; shift += 7) {
      const uint8_t b = get<uint8_t>();
      // Only the shortest spelling of a number is accepted, as the writer writes it.
      if ((shift == 28 && b > 0x0F) || (shift > 0 && b == 0)) fail(kCorrupt);
      v |= static_cast<uint32_t>(b & 0x7F) << shift;
      if ((b & 0x80) == 0) return v;
    }
    fail(kCorrupt);
    return 0;
  }
  std::string text() {
    const size_t n = get<uint8_t>();
    if (n > kMaxText) fail(kCorrupt);
    if (!take(n)) return {};
    std::string s(reinterpret_cast<const char*>(bytes.data() + at), n);
    at += n;
    for (const char c : s) {
      if (c < 0x20 || c > 0x7E) fail(kCorrupt);
    }
    return s;
  }
};

void putStart(Writer& w, const StartRecord& r) {
  w.put(r.SpielModus);
  w.put(r.Gegneranzahl);
  for (const SchiffsTyp& t : r.Schiffstabelle) {
    for (const float v : {t.Beschleunigung, t.TopSpeed, t.Health, t.SchussTempo, t.KanonenAnzahl,
                          t.Nachladezeit, t.Schaden, t.Manoevrierfaehigkeit})
      w.put(v);
  }
  for (const Schiff& s : r.Flotte) {
    for (const double v : {s.PosX, s.PosY, s.Tempo, s.Kurs}) w.put(v);
    for (const float v : {s.Health, s.KanonenLinks, s.KanonenRechts, s.PauseLinks, s.PauseRechts})
      w.put(v);
    for (const int32_t v : {s.FlammenSprite, s.Untergang, s.Klasse}) w.put(v);
    for (const int8_t v : {s.FeuerLinks, s.FeuerRechts, s.Nachladen}) w.put(v);
  }
  for (const int32_t v : {r.Option, r.Reichweite, r.SchussLautstaerke, r.TrefferLautstaerke})
    w.put(v);
  for (const int32_t v : r.Schussversatz) w.put(v);
  for (const auto& schiff : r.Muendungsversatz) {
    for (const auto& seite : schiff) {
      for (const double v : seite) w.put(v);
    }
  }
  w.put(r.Seed);
  w.put(r.Kapitaensstufe);
}

StartRecord getStart(Reader& r) {
  StartRecord s;
  s.SpielModus = r.get<int32_t>();
  s.Gegneranzahl = r.get<int32_t>();
  for (SchiffsTyp& t : s.Schiffstabelle) {
    for (float* v : {&t.Beschleunigung, &t.TopSpeed, &t.Health, &t.SchussTempo, &t.KanonenAnzahl,
                     &t.Nachladezeit, &t.Schaden, &t.Manoevrierfaehigkeit})
      *v = r.real<float>();
  }
  for (Schiff& f : s.Flotte) {
    for (double* v : {&f.PosX, &f.PosY, &f.Tempo, &f.Kurs}) *v = r.real<double>();
    for (float* v : {&f.Health, &f.KanonenLinks, &f.KanonenRechts, &f.PauseLinks, &f.PauseRechts})
      *v = r.real<float>();
    for (int32_t* v : {&f.FlammenSprite, &f.Untergang, &f.Klasse}) *v = r.get<int32_t>();
    for (int8_t* v : {&f.FeuerLinks, &f.FeuerRechts, &f.Nachladen}) *v = r.get<int8_t>();
    if (f.Klasse < 0 || f.Klasse >= kKlassenAnzahl) r.fail(kCorrupt);
  }
  for (int32_t* v : {&s.Option, &s.Reichweite, &s.SchussLautstaerke, &s.TrefferLautstaerke})
    *v = r.get<int32_t>();
  for (int32_t& v : s.Schussversatz) v = r.get<int32_t>();
  for (auto& schiff : s.Muendungsversatz) {
    for (auto& seite : schiff) {
      for (double& v : seite) v = r.real<double>();
    }
  }
  s.Seed = r.get<uint32_t>();
  s.Kapitaensstufe = r.get<int32_t>();
  if (s.Kapitaensstufe < kStufeLeicht || s.Kapitaensstufe > kStufeSchwer) r.fail(kCorrupt);
  if (s.SpielModus != kEinzelspieler && s.SpielModus != kZweiSpieler) r.fail(kCorrupt);
  if (s.Gegneranzahl < 1 || s.Gegneranzahl > kSchiffsAnzahl - 1) r.fail(kCorrupt);
  return s;
}

// One player's bytes as runs: the byte, then how many frames it holds.
void putRuns(Writer& w, const std::vector<std::array<uint8_t, 2>>& inputs, int player) {
  std::vector<std::pair<uint8_t, uint32_t>> runs;
  for (const auto& frame : inputs) {
    if (!runs.empty() && runs.back().first == frame[player]) {
      ++runs.back().second;
    } else {
      runs.emplace_back(frame[player], 1);
    }
  }
  w.varint(static_cast<uint32_t>(runs.size()));
  for (const auto& [value, length] : runs) {
    w.put(value);
    w.varint(length);
  }
}

void getRuns(Reader& r, std::vector<std::array<uint8_t, 2>>& inputs, int player) {
  const uint32_t count = r.varint();
  if (count > inputs.size()) r.fail(kCorrupt);
  size_t frame = 0;
  int before = -1;
  for (uint32_t i = 0; i < count && r.problem == ReplayProblem::None; ++i) {
    const uint8_t value = r.get<uint8_t>();
    const uint32_t length = r.varint();
    // Two runs of one byte in a row are one run to the writer.
    if (value > 0x7F || value == before || length == 0 || length > inputs.size() - frame) {
      r.fail(kCorrupt);
      return;
    }
    for (uint32_t k = 0; k < length; ++k) inputs[frame++][player] = value;
    before = value;
  }
  if (frame != inputs.size()) r.fail(kCorrupt);
}

}  // namespace

Replay newReplay(const StartRecord& start) {
  Replay replay;
  replay.gameVersion = std::string(gameVersion());
  replay.stepIdentity = stepIdentity();
  replay.start = start;
  replay.humans = start.SpielModus == kZweiSpieler ? 2 : 1;
  return replay;
}

std::vector<uint8_t> encodeReplay(const Replay& replay) {
  Writer w;
  w.bytes.assign(std::begin(kMagic), std::end(kMagic));
  w.put(kFormat);
  w.text(replay.gameVersion);
  w.put(replay.stepIdentity);
  putStart(w, replay.start);
  w.put(static_cast<uint8_t>(replay.humans));
  w.text(replay.result);
  w.put(static_cast<uint32_t>(replay.inputs.size()));
  w.varint(static_cast<uint32_t>(replay.checksums.size()));
  for (const uint64_t sum : replay.checksums) w.put(sum);
  for (int player = 0; player < replay.humans; ++player) putRuns(w, replay.inputs, player);
  w.put(fnv1a(w.bytes));
  return w.bytes;
}

ReplayReading readReplay(std::span<const uint8_t> bytes, bool anyBuild) {
  if (bytes.size() < sizeof kMagic || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0)
    return {.problem = ReplayProblem::NotAReplay};
  Reader r{bytes, sizeof kMagic};
  const uint16_t format = r.get<uint16_t>();
  if (r.problem == ReplayProblem::None && format != kFormat)
    return {.problem = ReplayProblem::NewerFormat};
  Replay replay;
  replay.gameVersion = r.text();
  replay.stepIdentity = r.get<uint64_t>();
  replay.start = getStart(r);
  replay.humans = r.get<uint8_t>();
  if (replay.humans != (replay.start.SpielModus == kZweiSpieler ? 2 : 1)) r.fail(kCorrupt);
  replay.result = r.text();
  const uint32_t frames = r.get<uint32_t>();
  if (frames > kReplayMaxFrames) r.fail(kCorrupt);
  const uint32_t sums = r.varint();
  if (r.problem == ReplayProblem::None && sums > frames / kReplayChecksumEvery + 1)
    r.fail(kCorrupt);
  if (r.problem == ReplayProblem::None) replay.checksums.resize(sums);
  for (uint64_t& sum : replay.checksums) sum = r.get<uint64_t>();
  if (r.problem == ReplayProblem::None) replay.inputs.resize(frames);
  for (int player = 0; player < replay.humans && r.problem == ReplayProblem::None; ++player)
    getRuns(r, replay.inputs, player);
  const size_t end = r.at;
  const uint64_t hash = r.get<uint64_t>();
  if (r.problem != ReplayProblem::None) return {.problem = r.problem};
  if (hash != fnv1a(bytes.first(end)) || r.at != bytes.size()) return {.problem = kCorrupt};
  if (!anyBuild && (replay.gameVersion != gameVersion() || replay.stepIdentity != stepIdentity())) {
    return {.problem = ReplayProblem::OtherBuild,
            .otherVersion = replay.gameVersion,
            .otherIdentity = replay.stepIdentity};
  }
  return {.replay = std::move(replay)};
}

void ReplayRecorder::frame(uint8_t player1, uint8_t player2) {
  if (replay_.inputs.size() >= kReplayMaxFrames) return;  // longer than any reader takes
  replay_.inputs.push_back({player1, replay_.humans == 2 ? player2 : uint8_t{0}});
}

void ReplayRecorder::checksum(uint32_t frame, uint64_t value) {
  if (frame % kReplayChecksumEvery != 0) return;
  if (frame / kReplayChecksumEvery != replay_.checksums.size()) return;  // one was missed
  replay_.checksums.push_back(value);
}

Replay ReplayRecorder::finish(const std::string& result) const {
  Replay replay = replay_;
  replay.result = result.size() <= kMaxText ? result : result.substr(0, kMaxText);
  replay.checksums.resize(
      std::min<size_t>(replay.checksums.size(), replay.inputs.size() / kReplayChecksumEvery + 1));
  return replay;
}

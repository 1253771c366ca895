#include "state/snapshot.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <sstream>
#include <string>
#include <type_traits>

namespace {

// Records whose fields follow each other without padding up to their last field.
static_assert(sizeof(SchiffsTyp) == 8 * sizeof(float));
constexpr size_t kSchiffBytes = offsetof(Schiff, Nachladen) + sizeof(int8_t);
static_assert(kSchiffBytes == 4 * 8 + 5 * 4 + 3 * 4 + 3);
constexpr size_t kKugelBytes = offsetof(Kugel, Schuetze) + sizeof(int8_t);
static_assert(kKugelBytes == 4 * 8 + 2 * 4 + 1);
static_assert(std::is_trivially_copyable_v<std::mt19937>);

class Writer {
 public:
  explicit Writer(std::vector<uint8_t>& out) : out_(out) {}
  void raw(const void* p, size_t n) {
    const auto* bytes = static_cast<const uint8_t*>(p);
    out_.insert(out_.end(), bytes, bytes + n);
  }
  template <typename T>
  void value(const T& v) {
    static_assert(std::has_unique_object_representations_v<T> || std::is_floating_point_v<T>);
    raw(&v, sizeof v);
  }
  void balls(const std::vector<Kugel>& liste) {
    value(static_cast<uint64_t>(liste.size()));
    for (const Kugel& k : liste) raw(&k, kKugelBytes);
  }

 private:
  std::vector<uint8_t>& out_;
};

// Reads what Writer wrote; any shortfall marks the whole read as failed.
class Reader {
 public:
  explicit Reader(std::span<const uint8_t> in) : in_(in) {}
  void raw(void* p, size_t n) {
    if (in_.size() < n) {
      ok_ = false;
      return;
    }
    std::memcpy(p, in_.data(), n);
    in_ = in_.subspan(n);
  }
  template <typename T>
  T value() {
    T v{};
    raw(&v, sizeof v);
    return v;
  }
  void balls(std::vector<Kugel>& liste) {
    const auto count = value<uint64_t>();
    if (!ok_ || count > in_.size() / kKugelBytes) {
      ok_ = false;
      return;
    }
    liste.assign(count, Kugel{});
    for (Kugel& k : liste) raw(&k, kKugelBytes);
  }
  std::span<const uint8_t> rest() const { return in_; }
  bool ok() const { return ok_; }

 private:
  std::span<const uint8_t> in_;
  bool ok_ = true;
};

void writeCommon(Writer& w, const Spiel& spiel) {
  w.raw(spiel.Schiffstabelle.data(), sizeof spiel.Schiffstabelle);
  for (const Schiff& s : spiel.Flotte) w.raw(&s, kSchiffBytes);
  for (int32_t v :
       {spiel.SpielModus, spiel.Gegneranzahl, spiel.Spielende, spiel.Option, spiel.Reichweite}) {
    w.value(v);
  }
  w.balls(spiel.ListeA);
  w.balls(spiel.ListeB);
  w.value(spiel.Schussversatz);
  w.raw(spiel.Muendungsversatz.data(), sizeof spiel.Muendungsversatz);
}

// The generator's text: its 624 words and the place of the next, all checked before the
// standard library reads it (which would believe any place).
bool generatorFrom(std::mt19937& generator, std::span<const uint8_t> text) {
  const std::string words(text.begin(), text.end());
  std::istringstream check(words);
  uint64_t word = 0;
  int count = 0;
  while (check >> word) {
    if (word > UINT32_MAX) return false;
    ++count;
  }
  if (!check.eof() || count != static_cast<int>(std::mt19937::state_size) + 1 ||
      word > std::mt19937::state_size) {
    return false;
  }
  std::istringstream in(words);
  in >> generator;
  return !in.fail();
}

}  // namespace

std::vector<uint8_t> portableState(const Spiel& spiel) {
  std::vector<uint8_t> out;
  Writer w(out);
  writeCommon(w, spiel);
  std::ostringstream generator;
  generator << spiel.Zufall.Generator;
  const std::string text = generator.str();
  w.raw(text.data(), text.size());
  return out;
}

bool adoptPortableState(Spiel& spiel, std::span<const uint8_t> bytes) {
  Spiel taken = spiel;
  Reader r(bytes);
  r.raw(taken.Schiffstabelle.data(), sizeof taken.Schiffstabelle);
  for (Schiff& s : taken.Flotte) r.raw(&s, kSchiffBytes);
  for (int32_t* v : {&taken.SpielModus, &taken.Gegneranzahl, &taken.Spielende, &taken.Option,
                     &taken.Reichweite}) {
    *v = r.value<int32_t>();
  }
  r.balls(taken.ListeA);
  r.balls(taken.ListeB);
  taken.Schussversatz = r.value<std::array<int32_t, 2>>();
  r.raw(taken.Muendungsversatz.data(), sizeof taken.Muendungsversatz);
  if (!r.ok() || !generatorFrom(taken.Zufall.Generator, r.rest())) return false;
  spiel = std::move(taken);
  return true;
}

std::vector<uint8_t> stateBytes(const Spiel& spiel) {
  std::vector<uint8_t> out;
  out.reserve(sizeof spiel.Zufall + 1024 + (spiel.ListeA.size() + spiel.ListeB.size()) * 48);
  Writer w(out);
  writeCommon(w, spiel);
  w.raw(&spiel.Zufall.Generator, sizeof spiel.Zufall.Generator);
  w.value(spiel.Kapitaensstufe);
  for (const Kapitaensgedaechtnis& k : spiel.Kapitaene) {
    w.value(k.Sollkurs);
    w.value(k.Frist);
    w.value(k.Feuerwillig);
    w.value(k.Seite);
    w.value(k.Rueckzug);
  }
  return out;
}

uint64_t stateChecksum(const Spiel& spiel) {
  // FNV-1a over 8-byte words: one multiply per word keeps thousands of balls cheap.
  const std::vector<uint8_t> bytes = stateBytes(spiel);
  uint64_t hash = 0xcbf29ce484222325ull;
  for (size_t at = 0; at < bytes.size(); at += 8) {
    uint64_t word = 0;
    std::memcpy(&word, bytes.data() + at, std::min<size_t>(8, bytes.size() - at));
    hash = (hash ^ word) * 0x100000001b3ull;
    hash ^= hash >> 29;
  }
  return hash ^ bytes.size();
}

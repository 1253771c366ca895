#include "net/protocol.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace {

enum class Type : uint8_t {
  Hello = 1,
  Welcome,
  Refusal,
  ShipChosen,
  Inputs,
  Checksum,
  Goodbye,
  Asking,
  Heal
};
constexpr std::array<uint8_t, 2> kMagic = {'K', 'F'};
// Player controls and restart: seven bits.
constexpr uint8_t kUnusedBits = 0x80;
// Frame numbers stay far below where they would wrap: 2^31 frames are a year of play.
constexpr uint32_t kLastFrameBound = 0x7FFFFFFF;

class Writer {
 public:
  explicit Writer(Type type) { bytes.push_back(static_cast<uint8_t>(type)); }
  template <typename T>
  void put(T value) {
    static_assert(std::is_arithmetic_v<T>);
    std::array<uint8_t, sizeof(T)> raw;
    std::memcpy(raw.data(), &value, sizeof(T));  // the game runs on little-endian machines
    bytes.insert(bytes.end(), raw.begin(), raw.end());
  }
  std::vector<uint8_t> bytes;
};

class Reader {
 public:
  explicit Reader(std::span<const uint8_t> packet) : rest_(packet.subspan(1)) {}
  template <typename T>
  T take() {
    T value{};
    if (rest_.size() < sizeof(T)) {
      ok_ = false;
      return value;
    }
    std::memcpy(&value, rest_.data(), sizeof(T));
    rest_ = rest_.subspan(sizeof(T));
    return value;
  }
  // True when every field was there and nothing is left over.
  bool whole() const { return ok_ && rest_.empty(); }
  // True when every field was there.
  bool complete() const { return ok_; }
  std::vector<uint8_t> takeRest() {
    std::vector<uint8_t> rest(rest_.begin(), rest_.end());
    rest_ = {};
    return rest;
  }

 private:
  std::span<const uint8_t> rest_;
  bool ok_ = true;
};

constexpr int kFloatsPerClass = 8;
std::array<float, kFloatsPerClass> fieldsOf(const SchiffsTyp& t) {
  return {t.Beschleunigung, t.TopSpeed,     t.Health,  t.SchussTempo,
          t.KanonenAnzahl,  t.Nachladezeit, t.Schaden, t.Manoevrierfaehigkeit};
}
SchiffsTyp classOf(const std::array<float, kFloatsPerClass>& f) {
  return {f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]};
}

// Protocol 1 knew only its number; from 2 on the build follows it.
constexpr uint16_t kFirstWithBuild = 2;
constexpr size_t kLongestVersion = 32;

template <typename Words>
void putBuild(Writer& w, const Words& m) {
  w.put(m.version);
  if (m.version < kFirstWithBuild) return;
  w.put(m.identity);
  const size_t length = std::min(m.gameVersion.size(), kLongestVersion);
  w.put(static_cast<uint8_t>(length));
  for (size_t i = 0; i < length; ++i) w.put(static_cast<uint8_t>(m.gameVersion[i]));
}

// A build as the peer states it. Another protocol may add fields after these: they are
// ignored, so that its version can still be named; this protocol's words must end here.
template <typename Words>
std::optional<Message> takeBuild(Reader& r) {
  Words m;
  m.version = r.take<uint16_t>();
  m.identity = 0;
  m.gameVersion.clear();
  if (m.version >= kFirstWithBuild) {
    m.identity = r.take<uint64_t>();
    const size_t length = r.take<uint8_t>();
    if (length > kLongestVersion) return std::nullopt;
    for (size_t i = 0; i < length; ++i) {
      const auto c = r.take<uint8_t>();
      if (c < 0x20 || c > 0x7E) return std::nullopt;  // printable ASCII, shown to the player
      m.gameVersion.push_back(static_cast<char>(c));
    }
  }
  if (!r.complete() || (m.version == kProtocolVersion && !r.whole())) return std::nullopt;
  return m;
}

struct Encoder {
  std::vector<uint8_t> operator()(const Hello& m) const {
    Writer w(Type::Hello);
    for (uint8_t b : kMagic) w.put(b);
    putBuild(w, m);
    return w.bytes;
  }
  std::vector<uint8_t> operator()(const Welcome& m) const {
    Writer w(Type::Welcome);
    w.put(m.seed);
    for (int32_t v : {m.option, m.reichweite, m.schussLautstaerke, m.trefferLautstaerke}) w.put(v);
    for (const SchiffsTyp& t : m.schiffstabelle) {
      for (float f : fieldsOf(t)) w.put(f);
    }
    return w.bytes;
  }
  std::vector<uint8_t> operator()(const Refusal& m) const {
    Writer w(Type::Refusal);
    putBuild(w, m);
    return w.bytes;
  }
  std::vector<uint8_t> operator()(const ShipChosen& m) const {
    Writer w(Type::ShipChosen);
    w.put(m.klasse);
    return w.bytes;
  }
  std::vector<uint8_t> operator()(const Inputs& m) const {
    Writer w(Type::Inputs);
    w.put(m.lastFrame);
    w.put(m.acknowledged);
    w.put(static_cast<uint8_t>(m.inputs.size()));
    for (const NetInput& i : m.inputs) w.put(inputByte(i));
    return w.bytes;
  }
  std::vector<uint8_t> operator()(const Checksum& m) const {
    Writer w(Type::Checksum);
    w.put(m.frame);
    w.put(m.value);
    w.put(m.heals);
    return w.bytes;
  }
  std::vector<uint8_t> operator()(const Heal& m) const {
    Writer w(Type::Heal);
    w.put(m.frame);
    w.bytes.insert(w.bytes.end(), m.state.begin(), m.state.end());
    return w.bytes;
  }
  std::vector<uint8_t> operator()(const Asking& m) const {
    Writer w(Type::Asking);
    w.put(static_cast<uint8_t>(m.open));
    return w.bytes;
  }
  std::vector<uint8_t> operator()(const Goodbye& m) const {
    Writer w(Type::Goodbye);
    w.put(static_cast<uint8_t>(m.reason));
    return w.bytes;
  }
};

std::optional<Message> decodeHello(Reader& r) {
  const uint8_t k = r.take<uint8_t>(), f = r.take<uint8_t>();
  if (k != kMagic[0] || f != kMagic[1]) return std::nullopt;
  return takeBuild<Hello>(r);
}

std::optional<Message> decodeWelcome(Reader& r) {
  Welcome m;
  m.seed = r.take<uint32_t>();
  for (int32_t* v : {&m.option, &m.reichweite, &m.schussLautstaerke, &m.trefferLautstaerke}) {
    *v = r.take<int32_t>();
  }
  for (SchiffsTyp& t : m.schiffstabelle) {
    std::array<float, kFloatsPerClass> f;
    for (float& v : f) v = r.take<float>();
    t = classOf(f);
  }
  // Volumes go to the mixer as they are; anything beyond 0..100 is not the host's.
  const auto volume = [](int32_t v) { return v >= 0 && v <= 100; };
  if (!r.whole() || !volume(m.schussLautstaerke) || !volume(m.trefferLautstaerke)) {
    return std::nullopt;
  }
  return m;
}

std::optional<Message> decodeInputs(Reader& r) {
  Inputs m;
  m.lastFrame = r.take<uint32_t>();
  m.acknowledged = r.take<uint32_t>();
  const int count = r.take<uint8_t>();
  if (count < 1 || count > kInputsPerPacket || m.lastFrame > kLastFrameBound ||
      m.acknowledged > kLastFrameBound || m.lastFrame + 1 < static_cast<uint32_t>(count)) {
    return std::nullopt;
  }
  for (int i = 0; i < count; ++i) {
    const std::optional<NetInput> input = inputFromByte(r.take<uint8_t>());
    if (!input) return std::nullopt;
    m.inputs.push_back(*input);
  }
  if (!r.whole()) return std::nullopt;
  return m;
}

template <typename M>
std::optional<Message> whole(Reader& r, M m) {
  if (!r.whole()) return std::nullopt;
  return m;
}

}  // namespace

uint8_t inputByte(const NetInput& i) {
  const Steuerung& s = i.steuerung;
  return static_cast<uint8_t>(s.Beschleunigen | s.Bremsen << 1 | s.Links << 2 | s.Rechts << 3 |
                              s.FeuerLinks << 4 | s.FeuerRechts << 5 | i.restart << 6);
}

std::optional<NetInput> inputFromByte(uint8_t b) {
  if (b & kUnusedBits) return std::nullopt;
  const auto bit = [b](int n) { return ((b >> n) & 1) != 0; };
  return NetInput{{bit(0), bit(1), bit(2), bit(3), bit(4), bit(5)}, bit(6)};
}

std::vector<uint8_t> encode(const Message& message) { return std::visit(Encoder{}, message); }

std::optional<Message> decode(std::span<const uint8_t> packet) {
  if (packet.empty()) return std::nullopt;
  Reader r(packet);
  switch (static_cast<Type>(packet[0])) {
    case Type::Hello:
      return decodeHello(r);
    case Type::Welcome:
      return decodeWelcome(r);
    case Type::Refusal:
      return takeBuild<Refusal>(r);
    case Type::ShipChosen: {
      const ShipChosen m{r.take<uint8_t>()};
      if (m.klasse >= kKlassenAnzahl) return std::nullopt;
      return whole(r, m);
    }
    case Type::Inputs:
      return decodeInputs(r);
    case Type::Checksum: {
      Checksum m;
      m.frame = r.take<uint32_t>();
      m.value = r.take<uint64_t>();
      m.heals = r.take<uint8_t>();
      if (m.frame > kLastFrameBound) return std::nullopt;
      return whole(r, m);
    }
    case Type::Heal: {
      Heal m;
      m.frame = r.take<uint32_t>();
      if (!r.complete() || m.frame > kLastFrameBound) return std::nullopt;
      m.state = r.takeRest();
      if (m.state.empty()) return std::nullopt;
      return m;
    }
    case Type::Asking: {
      const uint8_t open = r.take<uint8_t>();
      if (open > 1) return std::nullopt;
      return whole(r, Asking{open == 1});
    }
    case Type::Goodbye: {
      const uint8_t reason = r.take<uint8_t>();
      if (reason > static_cast<uint8_t>(Goodbye::Reason::Cancelled)) return std::nullopt;
      return whole(r, Goodbye{static_cast<Goodbye::Reason>(reason)});
    }
  }
  return std::nullopt;
}

bool travelsReliably(const Message& m) {
  return !std::holds_alternative<Inputs>(m) && !std::holds_alternative<Checksum>(m);
}

Welcome welcomeFor(const Spiel& host, uint32_t seed) {
  Welcome w;
  w.seed = seed;
  w.option = host.Option;
  w.reichweite = host.Reichweite;
  w.schussLautstaerke = std::clamp(host.SchussLautstaerke, 0, 100);
  w.trefferLautstaerke = std::clamp(host.TrefferLautstaerke, 0, 100);
  w.schiffstabelle = host.Schiffstabelle;
  return w;
}

StartRecord matchStart(const Welcome& welcome, int32_t hostClass, int32_t guestClass) {
  StartRecord record;
  record.SpielModus = kZweiSpieler;
  record.Gegneranzahl = 1;
  record.Schiffstabelle = welcome.schiffstabelle;
  record.Flotte[0].Klasse = hostClass;
  record.Flotte[1].Klasse = guestClass;
  record.Option = welcome.option;
  record.Reichweite = welcome.reichweite;
  record.SchussLautstaerke = welcome.schussLautstaerke;
  record.TrefferLautstaerke = welcome.trefferLautstaerke;
  record.Seed = welcome.seed;
  return record;
}

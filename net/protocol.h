// The network battle's messages and their bytes. A message is one packet; every field has a
// fixed place and size (little-endian), so a decoder needs no trust: a packet of the wrong
// size, an unknown type or a value out of range decodes to nothing and is dropped.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "basis/steuerung.h"
#include "state/build_identity.h"
#include "state/spiel.h"
#include "state/start_record.h"

// Raised whenever the meaning of a message changes; peers of different versions refuse each
// other at the handshake.
inline constexpr uint16_t kProtocolVersion = 2;
inline constexpr uint16_t kDefaultPort = 47111;
// The most inputs one packet carries: every input the peer has not acknowledged goes out in
// each packet, so that no outage shorter than the time-out loses one. Sides never run so far
// apart that more are unacknowledged.
inline constexpr int kInputsPerPacket = 32;

// One player's controls in one frame, with Return for a restart, in one byte.
struct NetInput {
  Steuerung steuerung{};
  bool restart = false;
  bool operator==(const NetInput&) const = default;
};
uint8_t inputByte(const NetInput&);
// Nothing for a byte with its top bit set, which no sender writes.
std::optional<NetInput> inputFromByte(uint8_t);

// The guest's first words: which build it is. Every version starts it with the same bytes
// (magic, protocol), and from protocol 2 on follow the step's identity and the game's version,
// so that any two versions can tell each other apart and name each other.
struct Hello {
  uint16_t version = kProtocolVersion;
  uint64_t identity = stepIdentity();
  std::string gameVersion = std::string(::gameVersion());
};
// The host's answer: the battle both play. The host's ship classes, range option and shot and
// hit volumes hold for this battle on both sides; the seed starts the battle's random numbers.
struct Welcome {
  uint32_t seed = 0;
  int32_t option = 0, reichweite = 0, schussLautstaerke = 0, trefferLautstaerke = 0;
  std::array<SchiffsTyp, kKlassenAnzahl> schiffstabelle{};
};
// Sent instead of a Welcome to a peer of another build (and by it, back), with one's own.
struct Refusal {
  uint16_t version = kProtocolVersion;
  uint64_t identity = stepIdentity();
  std::string gameVersion = std::string(::gameVersion());
};

// Whether a peer's Hello or Refusal comes from a build whose battles run as this one's.
template <typename Words>
bool sameBuild(const Words& peer) {
  return peer.version == kProtocolVersion && peer.identity == stepIdentity() &&
         peer.gameVersion == ::gameVersion();
}
// The ship class a player chose in the ship list.
struct ShipChosen {
  uint8_t klasse = 0;
};
// The sender's inputs of frames lastFrame - count + 1 to lastFrame, oldest first, and how far
// it holds the receiver's: every frame below `acknowledged`.
struct Inputs {
  uint32_t lastFrame = 0;
  std::vector<NetInput> inputs;
  uint32_t acknowledged = 0;
};
// The checksum of the battle's state at the start of a frame whose inputs were all known,
// and how many differences the sender's battle has been healed of (only checksums of the same
// count compare).
struct Checksum {
  uint32_t frame = 0;
  uint64_t value = 0;
  uint8_t heals = 0;
};
// The host's whole battle at the start of `frame`, for a guest whose checksum differed: it
// takes it over and runs on from there.
struct Heal {
  uint32_t frame = 0;
  std::vector<uint8_t> state;  // portableState
};
// The sender ends the match: its player left, the two battles were found to differ, or its
// player cancelled before the battle began.
struct Goodbye {
  enum class Reason : uint8_t { Left = 0, NotTheSame = 1, Cancelled = 2 } reason = Reason::Left;
};

// The sender's player is answering "Beenden" (open) or has answered it: while the question is
// open, the sender's frames stand still and its silence is no fault.
struct Asking {
  bool open = false;
};

using Message =
    std::variant<Hello, Welcome, Refusal, ShipChosen, Inputs, Checksum, Goodbye, Asking, Heal>;

std::vector<uint8_t> encode(const Message&);
std::optional<Message> decode(std::span<const uint8_t> packet);

// The host's battle for the guest: classes, range option, volumes and the seed of the random
// numbers; the guest's settings file is not read.
Welcome welcomeFor(const Spiel& host, uint32_t seed);
// The battle both sides start once both players chose: the welcome's, with two players and
// nothing carried over from an earlier battle on either computer.
StartRecord matchStart(const Welcome& welcome, int32_t hostClass, int32_t guestClass);

// Whether a message goes on the reliable channel (everything but inputs and checksums).
bool travelsReliably(const Message&);

// libFuzzer target: arbitrary bytes as packets from a peer. Every packet of this protocol that
// decodes must encode to exactly its own bytes (one layout, no slack), and a run of them, cut where
// the fuzzer's bytes say, goes into a rollback as a peer's would: never a crash, never a frame
// taken that no honest peer could send yet.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <variant>
#include <vector>

#include "net/protocol.h"
#include "net/rollback.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Spiel spiel;
  int steps = 0;
  Rollback rollback(spiel, 1, 2, [&](Spiel&, const std::array<NetInput, 2>&, bool) { ++steps; });
  std::span<const uint8_t> rest(data, size);
  while (!rest.empty()) {
    // Each piece starts with its length in two bytes (a Welcome is longer than 255).
    const size_t header = std::min<size_t>(2, rest.size());
    const size_t wanted = header == 2 ? rest[0] | rest[1] << 8 : rest[0];
    const size_t length = std::min(wanted, rest.size() - header);
    const std::span<const uint8_t> packet = rest.subspan(header, length);
    rest = rest.subspan(header + length);
    const std::optional<Message> message = decode(packet);
    if (!message) continue;
    // Another protocol's Hello or Refusal may say more than this one reads.
    const auto* hello = std::get_if<Hello>(&*message);
    const auto* refusal = std::get_if<Refusal>(&*message);
    const bool foreign = (hello != nullptr && hello->version != kProtocolVersion) ||
                         (refusal != nullptr && refusal->version != kProtocolVersion);
    const std::vector<uint8_t> again = encode(*message);
    if (!foreign && !std::equal(again.begin(), again.end(), packet.begin(), packet.end())) {
      std::abort();
    }
    if (const auto* inputs = std::get_if<Inputs>(&*message)) {
      rollback.receive(*inputs);
      if (rollback.peerFramesKnown() > rollback.frame() + 64) std::abort();
      if (rollback.canRun()) {
        rollback.addLocalInput({});
        rollback.runFrame();
      }
    } else if (const auto* sum = std::get_if<Checksum>(&*message)) {
      rollback.peerChecksum(*sum);
    } else if (const auto* heal = std::get_if<Heal>(&*message)) {
      rollback.adopt(*heal);
    }
  }
  return 0;
}

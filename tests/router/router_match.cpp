// One side of a network battle without a window, for the tests behind a real router:
//   router_match host [GIVE_UP_MS] offers on a port the system chooses, tells the address
//   router_match join HOST:PORT   joins
// Both play a few hundred frames of scripted inputs, then print "Zustand <hash>" and
// "Prüfsummen <count>"; the host's forwarding ends with its offer, before it prints "Ende".
// Exit status 0 only when the match ran to its end and no checksum differed.
#include <chrono>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "flow/network_battle.h"
#include "flow/offer_address.h"
#include "net/link.h"
#include "net/session.h"
#include "state/snapshot.h"
#include "tests/scenario/arena.h"

namespace {

constexpr uint32_t kFrames = 300;
constexpr uint64_t kPatienceMs = 30000;  // for the guest to come, and for the whole match

uint64_t nowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Controls held for spans of frames, different spans on both sides.
NetInput scripted(int side, uint32_t frame) {
  uint32_t h = (frame / (side == 0 ? 23 : 17) + 1) * 2654435761u ^ (side + 1) * 40503u;
  h ^= h >> 15;
  h *= 2246822519u;
  h ^= h >> 13;
  return *inputFromByte(static_cast<uint8_t>(h & 0x3F));
}

// The host: the welcome once the guest is there. The guest: the welcome received.
std::optional<Welcome> meet(Link& link, bool host, const Welcome& mine, OfferAddress* offer,
                            uint64_t offeredAt) {
  bool told = false;
  for (const uint64_t began = nowMs(); nowMs() - began < kPatienceMs;) {
    if (offer && !told && (told = offer->tell(std::cout))) {
      std::cerr << "router_match: the address told " << nowMs() - offeredAt
                << " ms after the offer (" << offer->result().protocol << ")\n";
    }
    const Link::Event e = link.poll(5);
    if (host && e.kind == Link::EventKind::Connected) {
      link.send(encode(mine), true);
      return mine;
    }
    if (!host && e.kind == Link::EventKind::Received) {
      const std::optional<Message> m = decode(e.bytes);
      if (m && std::holds_alternative<Welcome>(*m)) return std::get<Welcome>(*m);
    }
    if (e.kind == Link::EventKind::Disconnected) break;
  }
  std::cerr << "router_match: no peer\n";
  return std::nullopt;
}

int play(Arena& arena, Link& link, int self, const Welcome& welcome) {
  setUpNetworkMatch(arena.spiel, welcome, 3, 6);
  Rollback rollback(arena.spiel, self, 2, networkStep(*arena.media));
  NetworkSession session(link, rollback, nowMs);
  const uint64_t began = nowMs();
  uint64_t settledAt = 0, nextFrame = began;
  // Both sides keep sending their inputs a moment after they have all, for a peer still short.
  while (!settledAt || nowMs() - settledAt < 1000) {
    if (session.pump(1) != NetworkSession::End::None) break;
    if (nowMs() - began > kPatienceMs) break;
    if (nowMs() < nextFrame) continue;
    nextFrame += 4;
    if (rollback.frame() < kFrames) {
      session.tick(scripted(self, rollback.frame() + rollback.inputDelay()));
    } else {
      session.repeatInputs();
    }
    if (!settledAt && rollback.frame() >= kFrames && rollback.peerFramesKnown() >= kFrames) {
      settledAt = nowMs();
    }
  }
  rollback.correct();
  std::cout << "Zustand " << std::hex << stateChecksum(arena.spiel) << std::dec << "\n"
            << "Prüfsummen " << rollback.checksumsCompared() << std::endl;
  const bool whole = settledAt && !rollback.diverged() && rollback.checksumsCompared() > 0;
  if (!whole) std::cerr << "router_match: frame " << rollback.frame() << ", not settled\n";
  return whole ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string role = argc > 1 ? argv[1] : "";
  std::optional<JoinAddress> to;
  if (role != "host" && !(role == "join" && argc > 2 && (to = parseJoinAddress(argv[2], 0)))) {
    std::cerr << "usage: router_match host [GIVE_UP_MS] | join HOST:PORT\n";
    return 2;
  }
  // The battle is loaded before meeting: a peer that goes quiet for that long is taken for gone.
  Arena arena;
  arena.media->setSilent(true);
  const Welcome mine = welcomeFor(arena.spiel, 20261209);
  LinkProblem error{};
  std::unique_ptr<Link> link =
      to ? Link::connect(to->host, to->port, error) : Link::listen(0, error);
  if (!link) {
    std::cerr << "router_match: "
              << "no link (" << static_cast<int>(error) << ")\n";
    return 1;
  }
  int status = 1;
  {
    std::optional<OfferAddress> offer;
    const uint64_t offeredAt = nowMs();
    PortMapper::Timing timing;
    if (!to && argc > 2) timing.giveUpMs = std::stoi(argv[2]);
    if (!to) offer.emplace(PortMapper::forRouter(timing), link->port());
    const std::optional<Welcome> welcome =
        meet(*link, !to, mine, offer ? &*offer : nullptr, offeredAt);
    if (welcome) status = play(arena, *link, to ? 1 : 0, *welcome);
  }  // the offer ends here, and with it the forwarding
  std::cout << "Ende" << std::endl;
  return status;
}

#include "net/link.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

struct Pair {
  // The host waits `handshakeMs` for a silent guest until the battle asks otherwise.
  explicit Pair(uint32_t handshakeMs) {
    LinkProblem error{};
    host = Link::listen(0, error);
    EXPECT_TRUE(host) << static_cast<int>(error);
    host->setPeerTimeout(handshakeMs);
    guest = Link::connect("127.0.0.1", host->port(), error);
    EXPECT_TRUE(guest) << static_cast<int>(error);
    for (int i = 0; i < 400 && !(host->connected() && guest->connected()); ++i) {
      host->poll(2);
      guest->poll(2);
    }
    EXPECT_TRUE(host->connected() && guest->connected());
  }
  // How long the host polls, the guest saying nothing, before it reports the guest gone
  // (at most `limitMs`).
  long msUntilGone(int limitMs) {
    const Clock::time_point began = Clock::now();
    for (;;) {
      const long ms =
          std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - began).count();
      if (ms >= limitMs) return ms;
      if (host->poll(5).kind == Link::EventKind::Disconnected) return ms;
    }
  }
  std::unique_ptr<Link> host, guest;
};

// A guest that vanishes without a word is found gone by the host's own time-out, and the
// longer one a battle asks for holds for the peer already connected.
TEST(Link, AVanishedPeerIsGoneAfterTheTimeOutThatHoldsForIt) {
  Pair shortWait(300);
  EXPECT_LT(shortWait.msUntilGone(4000), 2500);
  Pair longWait(300);
  longWait.host->setPeerTimeout(4000);
  EXPECT_GE(longWait.msUntilGone(1500), 1500);
  EXPECT_TRUE(longWait.host->connected());
}

// The host has one place: a first connector that says nothing is dropped to make room.
TEST(Link, AHostThatDropsASilentGuestTakesTheNext) {
  Pair silent(5000);
  silent.host->dropPeer();
  EXPECT_FALSE(silent.host->connected());
  LinkProblem error{};
  std::unique_ptr<Link> next = Link::connect("127.0.0.1", silent.host->port(), error);
  ASSERT_TRUE(next) << static_cast<int>(error);
  bool taken = false;
  for (int i = 0; i < 400 && !taken; ++i) {
    taken = silent.host->poll(2).kind == Link::EventKind::Connected;
    next->poll(2);
  }
  EXPECT_TRUE(taken);
}

}  // namespace

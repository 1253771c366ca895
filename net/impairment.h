// A bad network on purpose: packets are held back (a fixed delay plus a random jitter, so
// that they also overtake each other), lost and duplicated, or all lost for a while, as a
// test asks. Only time and a
// seeded die decide, so a test run can be repeated.
#pragma once

#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "net/link.h"

struct ImpairmentSettings {
  int delayMs = 0;   // every packet at least this late
  int jitterMs = 0;  // and up to this much later again, drawn per packet
  int lossPercent = 0;
  int duplicatePercent = 0;
  // Whole outages: every packet sent, or due to arrive, from .first for .second ms is lost.
  std::vector<std::pair<uint64_t, uint64_t>> outages;
};

class Impairment : public PacketFilter {
 public:
  Impairment(const ImpairmentSettings& settings, uint32_t seed);

  // Takes a packet sent at `nowMs`: kept for later, twice, or not at all.
  void push(uint64_t nowMs, const std::vector<uint8_t>& packet) override;
  // The packets whose time has come, earliest first.
  std::vector<std::vector<uint8_t>> due(uint64_t nowMs) override;
  size_t held() const { return held_.size(); }

 private:
  struct Held {
    uint64_t dueMs;
    uint64_t order;  // among packets due at the same time, the one pushed first leaves first
    std::vector<uint8_t> packet;
  };
  bool chance(int percent);
  bool out(uint64_t ms) const;

  ImpairmentSettings settings_;
  std::mt19937 die_;
  std::vector<Held> held_;
  uint64_t pushed_ = 0;
};

// From now on `link`'s unreliable packets go through a bad network of these settings.
void impair(Link& link, const ImpairmentSettings& settings, uint32_t seed, Link::Clock clock);

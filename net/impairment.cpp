#include "net/impairment.h"

#include <algorithm>
#include <memory>

Impairment::Impairment(const ImpairmentSettings& settings, uint32_t seed)
    : settings_(settings), die_(seed) {}

bool Impairment::chance(int percent) {
  return std::uniform_int_distribution<int>(0, 99)(die_) < percent;
}

bool Impairment::out(uint64_t ms) const {
  return std::any_of(settings_.outages.begin(), settings_.outages.end(),
                     [ms](const auto& o) { return ms >= o.first && ms - o.first < o.second; });
}

void Impairment::push(uint64_t nowMs, const std::vector<uint8_t>& packet) {
  if (chance(settings_.lossPercent) || out(nowMs)) return;
  const int copies = chance(settings_.duplicatePercent) ? 2 : 1;
  for (int i = 0; i < copies; ++i) {
    const int jitter = std::uniform_int_distribution<int>(0, std::max(settings_.jitterMs, 0))(die_);
    const uint64_t late = static_cast<uint64_t>(std::max(settings_.delayMs, 0) + jitter);
    held_.push_back({nowMs + late, pushed_++, packet});
  }
}

std::vector<std::vector<uint8_t>> Impairment::due(uint64_t nowMs) {
  std::vector<Held> ready;
  auto keep = std::partition(held_.begin(), held_.end(),
                             [nowMs](const Held& h) { return h.dueMs > nowMs; });
  std::move(keep, held_.end(), std::back_inserter(ready));
  held_.erase(keep, held_.end());
  std::sort(ready.begin(), ready.end(), [](const Held& a, const Held& b) {
    return a.dueMs != b.dueMs ? a.dueMs < b.dueMs : a.order < b.order;
  });
  std::vector<std::vector<uint8_t>> packets;
  for (Held& h : ready) {
    if (!out(h.dueMs)) packets.push_back(std::move(h.packet));
  }
  return packets;
}

void impair(Link& link, const ImpairmentSettings& settings, uint32_t seed, Link::Clock clock) {
  link.impair(std::make_unique<Impairment>(settings, seed), std::move(clock));
}

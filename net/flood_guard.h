// A peer that sends far more packets than a battle needs (60 input packets and two checksums
// a second, some repeated) is flooding: what comes beyond the limit in a second is dropped.
#pragma once

#include <cstdint>

class FloodGuard {
 public:
  static constexpr int kPerSecond = 400;
  bool admit(uint64_t nowMs) {
    if (nowMs >= windowStart_ + 1000 || nowMs < windowStart_) {
      windowStart_ = nowMs;
      count_ = 0;
    }
    return ++count_ <= kPerSecond;
  }

 private:
  uint64_t windowStart_ = 0;
  int count_ = 0;
};

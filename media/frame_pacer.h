// Spaces frames at least a period apart without drifting: each frame has a deadline one
// period after the previous one, and a frame that is already late is not delayed further.
#pragma once

#include <cstdint>

class FramePacer {
 public:
  explicit FramePacer(uint64_t periodMicros) : period_(periodMicros) {}
  // Milliseconds to wait after showing a frame at time `now` (microseconds, monotonic).
  int delayAfterFrame(uint64_t now);

 private:
  uint64_t period_;
  uint64_t deadline_ = 0;
  bool started_ = false;
};

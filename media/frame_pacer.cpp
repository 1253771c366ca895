#include "media/frame_pacer.h"

int FramePacer::delayAfterFrame(uint64_t now) {
  if (!started_ || now > deadline_ + period_) {
    // First frame, or more than a period behind: start a fresh schedule from here.
    started_ = true;
    deadline_ = now + period_;
    return 0;
  }
  const uint64_t deadline = deadline_;
  deadline_ += period_;
  if (now >= deadline) return 0;
  // Nearest millisecond: the schedule absorbs the rounding, so the average stays exact.
  return static_cast<int>((deadline - now + 500) / 1000);
}

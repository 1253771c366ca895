// Keeps the sum of any number of voices below full scale without touching a mix that
// stays below it: a peak level that jumps up at once, is held over a few periods of a
// low tone (so the gain does not follow its waves) and decays in a fraction of a second,
// a gain computer with a soft knee below the ceiling, a gain that follows it down within a
// few milliseconds, the same gain on every channel (the stereo image stays put), and a soft
// clip for the peaks that come faster than the gain falls.
#pragma once

#include <cstdint>

class Limiter {
 public:
  Limiter(int rate, int channels);
  // `frames` frames of the sum (interleaved) into 16-bit output.
  void process(const int32_t* in, int16_t* out, int frames);
  // The gain applied to the last frame, 1 when the limiter rests.
  double gain() const { return gain_; }

  // The ceiling the gain aims for, with a knee of this width centred on it; the time
  // constants of the gain falling and of the peak level decaying (in decibels).
  static constexpr double kCeilingDb = -1.0;
  static constexpr double kKneeWidthDb = 6.0;
  static constexpr double kAttackSeconds = 0.002;
  static constexpr double kReleaseSeconds = 0.1;
  static constexpr double kHoldSeconds = 0.01;
  // Above this the soft clip bends the rest of the way towards (never onto) full scale.
  static constexpr double kClipKnee = 29800.0;
  static constexpr double kClipTop = 32766.0;

 private:
  double wantedGain(double peak) const;
  int16_t shaped(double sample) const;

  int channels_;
  double attack_, decay_;
  int holdFrames_;
  int held_ = 0;        // frames the level stays where it is
  double kneeStart_;    // peak below which the gain is 1
  double level_ = 0.0;  // peak level, held and decaying
  double gain_ = 1.0;
};

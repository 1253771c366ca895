#include "media/limiter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr double kFullScale = 32768.0;

double toDb(double level) { return 20.0 * std::log10(level / kFullScale); }
double fromDb(double db) { return kFullScale * std::pow(10.0, db / 20.0); }

// One-pole coefficient for a time constant of `seconds` at `rate` frames per second.
double coefficient(double seconds, int rate) {
  return 1.0 - std::exp(-1.0 / (seconds * std::max(rate, 1)));
}

}  // namespace

Limiter::Limiter(int rate, int channels)
    : channels_(std::max(channels, 1)),
      attack_(coefficient(kAttackSeconds, rate)),
      decay_(1.0 - coefficient(kReleaseSeconds, rate)),
      holdFrames_(static_cast<int>(kHoldSeconds * std::max(rate, 1))),
      kneeStart_(fromDb(kCeilingDb - kKneeWidthDb / 2)) {}

// The gain that brings a peak onto the soft-knee curve: unity below the knee, a quadratic
// bend through it, the ceiling above it.
double Limiter::wantedGain(double peak) const {
  if (peak <= kneeStart_) return 1.0;
  const double level = toDb(peak);
  const double into = level - (kCeilingDb - kKneeWidthDb / 2);
  const double target = into < kKneeWidthDb ? level - into * into / (2 * kKneeWidthDb) : kCeilingDb;
  return std::pow(10.0, (target - level) / 20.0);
}

int16_t Limiter::shaped(double sample) const {
  const double size = std::abs(sample);
  double bent = size;
  if (size > kClipKnee) {
    const double room = kClipTop - kClipKnee;
    bent = kClipKnee + room * std::tanh((size - kClipKnee) / room);
  }
  return static_cast<int16_t>(std::nearbyint(std::copysign(bent, sample)));
}

void Limiter::process(const int32_t* in, int16_t* out, int frames) {
  for (int f = 0; f < frames; ++f, in += channels_, out += channels_) {
    int32_t peak = 0;
    for (int c = 0; c < channels_; ++c) peak = std::max(peak, std::abs(in[c]));
    if (peak >= level_) {
      level_ = peak;
      held_ = holdFrames_;
    } else if (held_ > 0) {
      --held_;
    } else {
      level_ = std::max<double>(peak, level_ * decay_);
    }
    if (gain_ == 1.0 && level_ <= kneeStart_) {
      for (int c = 0; c < channels_; ++c) out[c] = static_cast<int16_t>(in[c]);
      continue;
    }
    const double wanted = wantedGain(level_);
    // Falls in decibels, so that a deep cut settles as soon as a shallow one.
    gain_ = wanted < gain_ ? gain_ * std::pow(wanted / gain_, attack_) : wanted;
    for (int c = 0; c < channels_; ++c) out[c] = shaped(in[c] * gain_);
  }
}

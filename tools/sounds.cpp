#include "sounds.h"

#include <algorithm>
#include <cmath>

#include "raster.h"

namespace gen {
namespace {

// Resonant band-pass (RBJ cookbook, constant peak gain).
class BandPass {
 public:
  BandPass(double frequency, double q, int rate) {
    const double w = 2 * kPi * frequency / rate, alpha = std::sin(w) / (2 * q), a0 = 1 + alpha;
    b0_ = alpha / a0;
    a1_ = -2 * std::cos(w) / a0;
    a2_ = (1 - alpha) / a0;
  }
  double operator()(double x) {
    const double y = b0_ * x - b0_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_, x1_ = x, y2_ = y1_, y1_ = y;
    return y;
  }

 private:
  double b0_, a1_, a2_, x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

class LowPass {
 public:
  LowPass(double cutoff, int rate) : k_(1 - std::exp(-2 * kPi * cutoff / rate)) {}
  double operator()(double x) { return y_ += k_ * (x - y_); }

 private:
  double k_, y_ = 0;
};

// Scales to a common peak, squashes the loudest peaks by `drive` (so quiet tails
// stay well above the 8-bit noise floor), lets the last `fadeSeconds` run out to
// silence and converts to unsigned 8-bit samples centred on 128.
std::vector<uint8_t> finish(std::vector<double> wave, int rate, double fadeSeconds, double drive) {
  double peak = 1e-9;
  for (double s : wave) peak = std::max(peak, std::abs(s));
  const auto fade = static_cast<size_t>(fadeSeconds * rate);
  std::vector<uint8_t> out(wave.size());
  for (size_t i = 0; i < wave.size(); ++i) {
    const size_t left = wave.size() - 1 - i;
    const double gain = left < fade ? static_cast<double>(left) / static_cast<double>(fade) : 1.0;
    const double level = std::tanh(drive * wave[i] / peak) / std::tanh(drive);
    out[i] = static_cast<uint8_t>(std::clamp(128 + std::lround(122 * level * gain), 1l, 255l));
  }
  return out;
}

}  // namespace

std::vector<uint8_t> cannonShot() {
  Random random(1805);
  LowPass blastFilter(2600, kShotRate), rumbleFilter(220, kShotRate), rumbleBody(160, kShotRate);
  std::vector<double> wave(kShotSamples);
  double phase = 0;
  for (size_t i = 0; i < wave.size(); ++i) {
    const double t = static_cast<double>(i) / kShotRate;
    phase += 2 * kPi * (42 + 80 * std::exp(-t / 0.035)) / kShotRate;  // the thump drops in pitch
    const double thump = std::sin(phase) * std::exp(-t / 0.14) * (1 - std::exp(-t / 0.002));
    const double blast = blastFilter(random.symmetric()) * std::exp(-t / 0.03);
    const double rumble = rumbleBody(rumbleFilter(random.symmetric())) * std::exp(-t / 0.2);
    wave[i] = 0.9 * thump + 1.6 * blast + 5.0 * rumble;
  }
  return finish(std::move(wave), kShotRate, 0.05, 3.0);
}

std::vector<uint8_t> woodHit() {
  Random random(1797);
  std::vector<double> wave(kHitSamples, 0.0);
  const auto at = [](double seconds) { return static_cast<size_t>(seconds * kHitRate); };
  // Splinters: short resonant bursts, dense at the impact and thinning out.
  for (int k = 0; k < 90; ++k) {
    const double start =
        k < 12 ? random.range(0, 0.05) : std::min(3.3, -0.55 * std::log(1 - random.unit()));
    const double loudness = (k < 12 ? 1.0 : std::exp(-start / 0.7)) * random.range(0.4, 1.0);
    BandPass ring(random.range(700, 4200), random.range(3, 9), kHitRate);
    const double length = random.range(0.004, 0.03);
    for (size_t i = at(start), n = 0; i < wave.size() && n < at(length * 4); ++i, ++n) {
      const double t = static_cast<double>(n) / kHitRate;
      wave[i] += 4 * loudness * ring(random.symmetric() * std::exp(-t / length));
    }
  }
  // The struck timbers: a few low modes rung by the impact, and a dull thud.
  const double modes[][2] = {{92, 0.22}, {185, 0.16}, {310, 0.12}, {540, 0.07}, {880, 0.05}};
  LowPass debris(500, kHitRate), debrisBody(900, kHitRate);
  for (size_t i = 0; i < wave.size(); ++i) {
    const double t = static_cast<double>(i) / kHitRate;
    double body = 0;
    for (const auto& [frequency, decay] : modes)
      body += std::sin(2 * kPi * frequency * t) * std::exp(-t / decay);
    const double crack = random.symmetric() * std::exp(-t / 0.004);
    const double tail = debrisBody(debris(random.symmetric())) * std::exp(-t / 1.1);
    wave[i] += 0.35 * body + 1.2 * crack + 2.2 * tail;
  }
  return finish(std::move(wave), kHitRate, 0.3, 3.0);
}

}  // namespace gen

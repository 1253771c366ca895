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

// Turns the few loudest moments down to `ceiling` of the loudest sample: the gain
// follows the peak level looking 2 ms ahead, so it is down before a peak arrives,
// and recovers over some 50 ms. A smooth change of gain, not clipping: the wave
// keeps its shape, and the body of the sound comes up relative to its first crack.
void limitPeaks(std::vector<double>& wave, int rate, double ceiling) {
  double loudest = 1e-9;
  for (double s : wave) loudest = std::max(loudest, std::abs(s));
  const double limit = ceiling * loudest, recover = 1 - std::exp(-1.0 / (0.05 * rate));
  const auto ahead = static_cast<size_t>(0.002 * rate);
  std::vector<double> gain(wave.size(), 1.0);
  for (size_t i = 0; i < wave.size(); ++i) {
    double near = 0;
    for (size_t j = i; j < std::min(wave.size(), i + ahead + 1); ++j)
      near = std::max(near, std::abs(wave[j]));
    const double wanted = near > limit ? limit / near : 1.0;
    const double previous = i > 0 ? gain[i - 1] : 1.0;
    gain[i] = std::min(wanted, previous + (1 - previous) * recover);
  }
  for (size_t i = 0; i < wave.size(); ++i) wave[i] *= gain[i];
}

// Scales the loudest sample to `peak` of full scale (linearly: no squashing, so the
// attack keeps its edge), lets the sound die away to silence over the last
// `fadeSeconds` with a raised-cosine fade, and converts to unsigned 8-bit samples
// centred on 128. The sounds decay on their own long before the fade begins; the
// fade only takes the last trace of the tail below the 8-bit step.
std::vector<uint8_t> finish(const std::vector<double>& wave, int rate, double fadeSeconds,
                            double peak = 0.9) {
  double loudest = 1e-9;
  for (double s : wave) loudest = std::max(loudest, std::abs(s));
  const auto fade = static_cast<size_t>(fadeSeconds * rate);
  std::vector<uint8_t> out(wave.size());
  for (size_t i = 0; i < wave.size(); ++i) {
    const size_t left = wave.size() - 1 - i;
    const double gain =
        left < fade
            ? 0.5 - 0.5 * std::cos(kPi * static_cast<double>(left) / static_cast<double>(fade))
            : 1.0;
    const double level = 127 * peak * gain * wave[i] / loudest;
    out[i] = static_cast<uint8_t>(std::clamp(128 + std::lround(level), 1l, 255l));
  }
  return out;
}

double seconds(size_t i, int rate) { return static_cast<double>(i) / rate; }

// A block of timber struck once: a few inharmonic modes ringing down, the higher
// ones faster. Added into `wave` from sample `start`.
void knock(std::vector<double>& wave, size_t start, double pitch, double loudness, double decay,
           Random& random, int rate) {
  constexpr double kRatios[] = {1.0, 2.32, 4.1, 6.7};
  double phases[4];
  for (double& p : phases) p = random.range(0, 2 * kPi);
  const auto length = static_cast<size_t>(6 * decay * rate);
  for (size_t n = 0; n < length && start + n < wave.size(); ++n) {
    const double t = seconds(n, rate);
    double sum = 0;
    for (int k = 0; k < 4; ++k)
      sum += std::sin(2 * kPi * pitch * kRatios[k] * t + phases[k]) *
             std::exp(-t * (k + 1) / decay) / (k + 1);
    wave[start + n] += loudness * sum * std::min(1.0, t / 0.0005);
  }
}

// A burst of band-passed noise dying away: a fibre splitting when high and
// narrow, a piece of wood landing when low. Added into `wave` from `start`.
void burst(std::vector<double>& wave, size_t start, double frequency, double q, double decay,
           double loudness, Random& random, int rate) {
  BandPass ring(frequency, q, rate);
  const auto length = static_cast<size_t>(6 * decay * rate);
  for (size_t n = 0; n < length && start + n < wave.size(); ++n)
    wave[start + n] += loudness * ring(random.symmetric()) * std::exp(-seconds(n, rate) / decay);
}

}  // namespace

// The report of a gun: a sharp crack, the blast's roar, a low thump falling in
// pitch, and a rumble that rolls away over the water.
std::vector<uint8_t> cannonShot() {
  Random random(1805);
  LowPass blastFilter(1800, kShotRate), rumbleFilter(260, kShotRate), rumbleBody(180, kShotRate);
  std::vector<double> wave(kShotSamples);
  double phase = 0;
  for (size_t i = 0; i < wave.size(); ++i) {
    const double t = seconds(i, kShotRate);
    phase += 2 * kPi * (46 + 70 * std::exp(-t / 0.04)) / kShotRate;
    const double attack = 1 - std::exp(-t / 0.0006);
    const double crack = random.symmetric() * std::exp(-t / 0.006);
    const double blast = blastFilter(random.symmetric()) * std::exp(-t / 0.045);
    const double thump = std::sin(phase) * std::exp(-t / 0.1);
    const double rumble = rumbleBody(rumbleFilter(random.symmetric())) * (1 - std::exp(-t / 0.03)) *
                          std::exp(-t / 0.16);
    wave[i] = attack * (0.5 * crack + 1.5 * blast + 0.75 * thump) + 7.0 * rumble;
  }
  limitPeaks(wave, kShotRate, 0.6);
  return finish(wave, kShotRate, 0.2);
}

// A ball striking timber: the crack and heavy knock of the blow, planks
// splintering around it, then splinters and debris falling back onto the deck.
std::vector<uint8_t> woodHit() {
  Random random(1797);
  std::vector<double> wave(kHitSamples, 0.0);
  const auto at = [](double s) { return static_cast<size_t>(s * kHitRate); };
  burst(wave, 0, 2500, 0.7, 0.004, 5.0, random, kHitRate);  // the crack of the blow
  burst(wave, 0, 900, 1.2, 0.07, 5.0, random, kHitRate);    // timber giving way
  knock(wave, 0, 82, 0.8, 0.12, random, kHitRate);
  knock(wave, at(0.003), 190, 0.5, 0.06, random, kHitRate);
  for (int k = 0; k < 90; ++k) {  // splintering, thickest right after the blow
    const double start = 0.6 * std::pow(random.unit(), 2.0);
    burst(wave, at(start), random.range(1500, 6000), random.range(2, 5), random.range(0.001, 0.006),
          7.0 * std::exp(-start / 0.2) * random.range(0.3, 1.0), random, kHitRate);
  }
  for (int k = 0; k < 22; ++k) {  // debris landing, fewer and softer as time goes on
    const double start = 0.15 + 2.2 * std::pow(random.unit(), 1.7);
    burst(wave, at(start), random.range(250, 1100), random.range(1.5, 3), random.range(0.01, 0.03),
          6.0 * std::exp(-start / 0.7) * random.range(0.3, 1.0), random, kHitRate);
  }
  LowPass groanFilter(140, kHitRate), groanBody(120, kHitRate);
  for (size_t i = 0; i < wave.size(); ++i)
    wave[i] +=
        6.0 * groanBody(groanFilter(random.symmetric())) * std::exp(-seconds(i, kHitRate) / 0.45);
  limitPeaks(wave, kHitRate, 0.45);
  return finish(wave, kHitRate, 0.6);
}

}  // namespace gen

// The mix of a battle's sounds as the audio device pulls it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

#include "assets/embedded.h"
#include "media/sdl_decode.h"
#include "state/katalog.h"
#include "tests/scenario/arena.h"

namespace {

constexpr int kFramesPerSecond = 60;

// Samples at full scale in `seconds` of a two-player battle with all four batteries held,
// pulled frame by frame as the device would; also the loudest sample.
int ClippedSamplesUnderHeavyFire(int seconds, int& samples, int& peak) {
  Arena arena;
  for (Key key : {Key::V, Key::B, Key::Keypad1, Key::Keypad2}) arena.halten(key);
  const int pull = HeadlessBackend::kAudioFormat.rate / kFramesPerSecond;
  std::vector<int16_t> out(static_cast<size_t>(pull) * HeadlessBackend::kAudioFormat.channels);
  int clipped = 0;
  samples = peak = 0;
  for (int f = 0; f < seconds * kFramesPerSecond; ++f) {
    arena.frame();
    arena.backend->renderAudio(out.data(), pull);
    for (int16_t s : out) {
      clipped += s >= 32767 || s <= -32768;
      peak = std::max(peak, std::abs(int{s}));
    }
    samples += static_cast<int>(out.size());
  }
  return clipped;
}

TEST(Mix, HeavyFireNeverReachesFullScale) {
  int samples = 0, peak = 0;
  const int clipped = ClippedSamplesUnderHeavyFire(6, samples, peak);
  std::printf("clipped samples under heavy fire: %d of %d, peak %d\n", clipped, samples, peak);
  EXPECT_EQ(clipped, 0);
  EXPECT_GT(peak, 28000);  // as loud as the limiter lets it be
}

// One shot alone, at the default and at full volume, peaks as loud as it would unlimited
// (within 1 dB).
TEST(Mix, OneShotAloneKeepsItsLoudness) {
  for (const int volume : {20, 100}) {
    Arena arena;
    const std::span<const uint8_t> wav = embeddedFile("shot.wav");
    const std::vector<int16_t> raw = *decodeWav(wav, HeadlessBackend::kAudioFormat);
    int rawPeak = 0;
    for (int16_t s : raw) rawPeak = std::max(rawPeak, std::abs(s * volume / 100));
    arena.media->playSound(katalog::kSchussTon, volume);
    std::vector<int16_t> out(raw.size());
    arena.backend->renderAudio(out.data(), static_cast<int>(raw.size() / 2));
    int peak = 0;
    for (int16_t s : out) peak = std::max(peak, std::abs(int{s}));
    EXPECT_GT(20 * std::log10(double(peak) / rawPeak), -1.0) << volume << ": " << peak;
  }
}

}  // namespace

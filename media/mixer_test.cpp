#include "media/mixer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr AudioFormat kMono{8000, 1};

std::vector<int16_t> constant(size_t n, int16_t value) { return std::vector<int16_t>(n, value); }

std::vector<int16_t> mix(Mixer& mixer, int frames) {
  std::vector<int16_t> out(static_cast<size_t>(frames) * mixer.format().channels, 12345);
  mixer.render(out.data(), frames);
  return out;
}

TEST(Mixer, VolumeIsClampedToFullAndSilence) {
  Mixer full(kMono), over(kMono);
  full.setSound(1, constant(100, 1000));
  over.setSound(1, constant(100, 1000));
  full.play(1, 100);
  over.play(1, 150);
  EXPECT_EQ(mix(over, 50), mix(full, 50));
  EXPECT_EQ(mix(over, 1)[0], 1000);

  Mixer quiet(kMono);
  quiet.setSound(1, constant(100, 1000));
  quiet.play(1, 0);
  quiet.play(1, -5);
  quiet.play(2, 100);  // no such sound
  EXPECT_EQ(quiet.activeVoices(), 0);
  EXPECT_EQ(mix(quiet, 10), constant(10, 0));  // silence, not stale buffer contents
}

TEST(Mixer, GainIsLinearInPercent) {
  Mixer mixer(kMono);
  mixer.setSound(1, {20000, -20000, 1000});
  mixer.play(1, 50);
  EXPECT_EQ(mix(mixer, 3), (std::vector<int16_t>{10000, -10000, 500}));
}

TEST(Mixer, OverlappingPlaybacksSumAndStayOffFullScale) {
  Mixer mixer(kMono);
  mixer.setSound(1, constant(8, 1000));
  mixer.setSound(2, {30000, -30000, 30000, -30000});
  mixer.play(1, 100);
  EXPECT_EQ(mix(mixer, 2), constant(2, 1000));
  mixer.play(1, 100);  // a second playback of the same sound, started later
  EXPECT_EQ(mix(mixer, 2), constant(2, 2000));
  mixer.play(2, 100);
  mixer.play(2, 100);
  // 60,000 at once: bent towards full scale by the soft clip, never onto it.
  const std::vector<int16_t> loud = mix(mixer, 4);
  for (size_t i = 0; i < loud.size(); ++i) {
    EXPECT_GT(std::abs(loud[i]), 29000) << i;
    EXPECT_LT(std::abs(loud[i]), 32767) << i;
    EXPECT_EQ(loud[i] > 0, i % 2 == 0) << i;
  }
}

TEST(Mixer, FinishedVoicesAreDroppedAndLeaveSilence) {
  Mixer mixer(AudioFormat{8000, 2});
  mixer.setSound(1, constant(6, 700));  // three stereo frames
  mixer.play(1, 100);
  mixer.play(1, 100);
  EXPECT_EQ(mixer.activeVoices(), 2);
  EXPECT_EQ(mix(mixer, 5), (std::vector<int16_t>{1400, 1400, 1400, 1400, 1400, 1400, 0, 0, 0, 0}));
  EXPECT_EQ(mixer.activeVoices(), 0);
  EXPECT_EQ(mix(mixer, 2), constant(4, 0));
}

TEST(Mixer, ReplacingASoundKeepsThePlayingOneAndStartsTheNew) {
  Mixer mixer(kMono);
  mixer.setSound(1, constant(4, 100));
  mixer.play(1, 100);
  EXPECT_EQ(mix(mixer, 2), constant(2, 100));
  mixer.setSound(1, constant(4, 10));
  EXPECT_TRUE(mixer.hasSound(1));
  mixer.play(1, 100);
  EXPECT_EQ(mix(mixer, 4), (std::vector<int16_t>{110, 110, 10, 10}));
}

TEST(Mixer, BuffersLargerThanTheReserveWork) {
  Mixer mixer(kMono);
  mixer.setSound(1, constant(20000, 3));
  mixer.play(1, 100);
  const std::vector<int16_t> out = mix(mixer, 20001);
  EXPECT_EQ(out[19999], 3);
  EXPECT_EQ(out[20000], 0);
}

constexpr AudioFormat kStereo{44100, 2};

// `seconds` of a 441 Hz tone of the given amplitude, on both channels.
std::vector<int16_t> tone(double seconds, double amplitude) {
  std::vector<int16_t> samples;
  for (int f = 0; f < static_cast<int>(seconds * kStereo.rate); ++f) {
    const double s = amplitude * std::sin(2 * std::numbers::pi * 441 * f / kStereo.rate);
    samples.insert(samples.end(), 2, static_cast<int16_t>(std::lround(s)));
  }
  return samples;
}

int peakOf(const std::vector<int16_t>& samples, size_t from, size_t to) {
  int peak = 0;
  for (size_t i = from; i < std::min(to, samples.size()); ++i)
    peak = std::max(peak, std::abs(int{samples[i]}));
  return peak;
}

constexpr size_t samplesIn(double seconds) {
  return static_cast<size_t>(seconds * kStereo.rate) * kStereo.channels;
}

// However many voices sound at once, no sample reaches full scale; once the envelope has
// fallen (a few milliseconds) the peaks sit at the ceiling, not far below it.
TEST(Limiter, AnyNumberOfVoicesStaysOffFullScaleAndLoud) {
  for (const int voices : {1, 2, 8, 64, 700}) {
    Mixer mixer(kStereo);
    mixer.setSound(1, tone(0.5, 30000));
    for (int v = 0; v < voices; ++v) mixer.play(1, 100);
    const std::vector<int16_t> out = mix(mixer, kStereo.rate / 2);
    EXPECT_LT(peakOf(out, 0, out.size()), 32767) << voices;
    const int settled = peakOf(out, samplesIn(0.02), out.size());
    EXPECT_LE(settled, 29300) << voices;  // -1 dBFS
    EXPECT_GE(settled, voices == 1 ? 25000 : 27500) << voices;
  }
}

// After a loud burst the gain recovers within well under a second, to exactly 1: a quiet
// sound then comes out as it went in. Right after the burst it is still held down, so the
// level does not jump back with a click.
TEST(Limiter, RecoversSmoothlyAfterALoudBurst) {
  Mixer mixer(kStereo);
  mixer.setSound(1, tone(0.2, 30000));
  mixer.setSound(2, constant(samplesIn(1.0), 1000));
  for (int v = 0; v < 10; ++v) mixer.play(1, 100);
  mixer.play(2, 100);
  const std::vector<int16_t> out = mix(mixer, kStereo.rate);
  EXPECT_LT(out[samplesIn(0.21)], 500);
  EXPECT_EQ(std::vector<int16_t>(out.begin() + samplesIn(0.7), out.end()),
            constant(out.size() - samplesIn(0.7), 1000));
}

}  // namespace

#include "media/mixer.h"

#include <gtest/gtest.h>

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

TEST(Mixer, OverlappingPlaybacksSumAndClip) {
  Mixer mixer(kMono);
  mixer.setSound(1, constant(8, 1000));
  mixer.setSound(2, {30000, -30000, 30000, -30000});
  mixer.play(1, 100);
  EXPECT_EQ(mix(mixer, 2), constant(2, 1000));
  mixer.play(1, 100);  // a second playback of the same sound, started later
  EXPECT_EQ(mix(mixer, 2), constant(2, 2000));
  mixer.play(2, 100);
  mixer.play(2, 100);
  EXPECT_EQ(mix(mixer, 4), (std::vector<int16_t>{32767, -32768, 32767, -32768}));
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

}  // namespace

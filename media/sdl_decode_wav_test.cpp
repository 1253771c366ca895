#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "media/sdl_decode.h"

namespace {

void put16(std::vector<uint8_t>& b, uint16_t v) {
  b.push_back(v & 0xFF);
  b.push_back(v >> 8);
}
void put32(std::vector<uint8_t>& b, uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}
void tag(std::vector<uint8_t>& b, const char* fourcc) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(fourcc[i]));
}

// A PCM RIFF WAVE around raw little-endian samples.
std::vector<uint8_t> wave(int rate, int channels, int bits, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> b;
  const int blockAlign = channels * bits / 8;
  tag(b, "RIFF");
  put32(b, static_cast<uint32_t>(36 + data.size()));
  tag(b, "WAVE");
  tag(b, "fmt ");
  put32(b, 16);
  put16(b, 1);
  put16(b, static_cast<uint16_t>(channels));
  put32(b, static_cast<uint32_t>(rate));
  put32(b, static_cast<uint32_t>(rate * blockAlign));
  put16(b, static_cast<uint16_t>(blockAlign));
  put16(b, static_cast<uint16_t>(bits));
  tag(b, "data");
  put32(b, static_cast<uint32_t>(data.size()));
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

// Full-scale 8-bit square wave: 0 and 255 alternating every `half` samples.
std::vector<uint8_t> square8(size_t frames, size_t half) {
  std::vector<uint8_t> data(frames);
  for (size_t i = 0; i < frames; ++i) data[i] = (i / half) % 2 == 0 ? 255 : 0;
  return data;
}

TEST(DecodeWav, EightBitMonoBecomesStereoAtTheOutputRate) {
  const auto bytes = wave(11025, 1, 8, square8(11025, 50));  // one second
  const auto samples = decodeWav(bytes, AudioFormat{44100, 2});
  ASSERT_TRUE(samples.has_value());
  ASSERT_EQ(samples->size() % 2, 0u);
  EXPECT_NEAR(static_cast<double>(samples->size()) / 2, 44100.0, 44100 * 0.01);
  for (size_t i = 0; i + 1 < samples->size(); i += 2) ASSERT_EQ((*samples)[i], (*samples)[i + 1]);
  // Middle of the first high and the first low half-period (200 output frames each).
  EXPECT_GT((*samples)[200], 30000);
  EXPECT_LT((*samples)[600], -30000);
}

TEST(DecodeWav, ResamplerOvershootIsClampedNotWrapped) {
  const auto samples = decodeWav(wave(11025, 1, 8, square8(4000, 7)), AudioFormat{48000, 1});
  ASSERT_TRUE(samples.has_value());
  // A wrapped overshoot jumps from one end of the range to the other between neighbours.
  int maxStep = 0;
  for (size_t i = 1; i < samples->size(); ++i) {
    maxStep = std::max(maxStep, std::abs((*samples)[i] - (*samples)[i - 1]));
  }
  EXPECT_LT(maxStep, 50000);
}

TEST(DecodeWav, SixteenBitInTheOutputFormatKeepsItsValues) {
  std::vector<uint8_t> data;
  for (int16_t v : {0, 1000, -1000, 32767, -32768, 5}) put16(data, static_cast<uint16_t>(v));
  const auto samples = decodeWav(wave(44100, 2, 16, data), AudioFormat{44100, 2});
  ASSERT_TRUE(samples.has_value());
  ASSERT_EQ(samples->size(), 6u);
  const std::vector<int> expected = {0, 1000, -1000, 32767, -32768, 5};
  for (size_t i = 0; i < 6; ++i) EXPECT_NEAR((*samples)[i], expected[i], 1) << i;
}

TEST(DecodeWav, BrokenBytesGiveNothing) {
  const auto good = wave(11025, 1, 8, square8(1000, 10));
  EXPECT_FALSE(decodeWav({}, AudioFormat{44100, 2}).has_value());
  for (size_t cut : {4u, 12u, 30u, 43u}) {
    EXPECT_FALSE(decodeWav(std::span(good).first(cut), AudioFormat{44100, 2}).has_value()) << cut;
  }
  std::vector<uint8_t> garbage(4096);
  srand(7);
  std::generate(garbage.begin(), garbage.end(), [] { return static_cast<uint8_t>(rand()); });
  EXPECT_FALSE(decodeWav(garbage, AudioFormat{44100, 2}).has_value());
  std::vector<uint8_t> wrongFormat = good;
  wrongFormat[20] = 0x55;  // no such encoding
  EXPECT_FALSE(decodeWav(wrongFormat, AudioFormat{44100, 2}).has_value());
  EXPECT_FALSE(decodeWav(good, AudioFormat{0, 2}).has_value());
  EXPECT_FALSE(decodeWav(good, AudioFormat{44100, 0}).has_value());
}

TEST(DecodeWav, DataCutShortDoesNotCrash) {
  const auto good = wave(11025, 1, 8, square8(1000, 10));
  const auto cut = decodeWav(std::span(good).first(good.size() - 500), AudioFormat{44100, 2});
  if (cut) {
    EXPECT_LT(cut->size(), 2u * 4000u);
  }
}

}  // namespace

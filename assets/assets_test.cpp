// Reads every embedded file back and checks it against what the game expects
// of it: format, size, use of the transparent colour, sample rate and length.
#include <gtest/gtest.h>
#include <jpeglib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "assets/embedded.h"

namespace {

using Bytes = std::span<const uint8_t>;
using Rgb = std::array<int, 3>;
constexpr Rgb kWhite{255, 255, 255}, kBlack{0, 0, 0};

uint32_t le16(Bytes b, size_t at) { return b[at] | b[at + 1] << 8; }
uint32_t le32(Bytes b, size_t at) { return le16(b, at) | le16(b, at + 2) << 16; }
std::string tag(Bytes b, size_t at) { return {reinterpret_cast<const char*>(&b[at]), 4}; }

Bytes file(const char* name) {
  const Bytes data = embeddedFile(name);
  EXPECT_FALSE(data.empty()) << name;
  return data;
}

// A 24-bit bottom-up bitmap read by hand from its two headers.
struct Bitmap {
  Bytes data;
  int w() const { return static_cast<int>(le32(data, 18)); }
  int h() const { return static_cast<int>(le32(data, 22)); }
  Rgb at(int x, int y) const {
    const size_t row = (static_cast<size_t>(w()) * 3 + 3) & ~size_t{3};
    const size_t i =
        le32(data, 10) + (static_cast<size_t>(h() - 1 - y)) * row + static_cast<size_t>(x) * 3;
    return {data[i + 2], data[i + 1], data[i]};
  }
  template <class Test>
  int count(Test test) const {
    int n = 0;
    for (int y = 0; y < h(); ++y)
      for (int x = 0; x < w(); ++x) n += test(at(x, y)) ? 1 : 0;
    return n;
  }
  template <class Test>
  int countBorder(Test test) const {
    int n = 0;
    for (int y = 0; y < h(); ++y)
      for (int x = 0; x < w(); ++x)
        if (x == 0 || y == 0 || x == w() - 1 || y == h() - 1) n += test(at(x, y)) ? 1 : 0;
    return n;
  }
  int borderSize() const { return 2 * (w() + h()) - 4; }
};

Bitmap bitmap(const char* name) { return {file(name)}; }

// Pixels of the key colour that cannot be reached from the picture's border through
// key-coloured pixels: holes through which the sea or the ship below would show.
int enclosedKeyPixels(const Bitmap& b, Rgb key) {
  const int w = b.w(), h = b.h();
  std::vector<bool> reached(static_cast<size_t>(w) * h, false);
  std::vector<std::pair<int, int>> todo;
  int reachedCount = 0;
  const auto reach = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    const size_t i = static_cast<size_t>(y) * w + x;
    if (reached[i] || b.at(x, y) != key) return;
    reached[i] = true;
    ++reachedCount;
    todo.emplace_back(x, y);
  };
  for (int x = 0; x < w; ++x) reach(x, 0), reach(x, h - 1);
  for (int y = 0; y < h; ++y) reach(0, y), reach(w - 1, y);
  while (!todo.empty()) {
    const auto [x, y] = todo.back();
    todo.pop_back();
    reach(x + 1, y), reach(x - 1, y), reach(x, y + 1), reach(x, y - 1);
  }
  return b.count([&](Rgb c) { return c == key; }) - reachedCount;
}

// The three hit zones of a ship at heading 0, in its picture: discs of radius 20
// centred on the centre line 18 ahead of, 18 astern of and 55 astern of the centre.
constexpr int kZoneTops[] = {37, 73, 110};
bool inZone(int x, int y, int top) {
  const double dx = x + 0.5 - 75, dy = y + 0.5 - (top + 20);
  return dx * dx + dy * dy <= 400;
}

const char* const kShips[] = {"ship0.bmp", "ship1.bmp", "ship2.bmp", "ship3.bmp",
                              "ship4.bmp", "ship5.bmp", "ship6.bmp", "ship7.bmp"};

bool isWhite(Rgb c) { return c == kWhite; }
bool isBlack(Rgb c) { return c == kBlack; }
bool isWarm(Rgb c) { return c[0] > 120 && c[0] >= c[1] && c[1] >= c[2]; }

TEST(AssetsCatalogue, HoldTheWholeCatalogueUnderUniqueNames) {
  std::set<std::string_view> names;
  for (const auto& f : embeddedFiles()) {
    EXPECT_FALSE(f.data.empty()) << f.name;
    EXPECT_EQ(embeddedFile(f.name).data(), f.data.data()) << f.name;
    names.insert(f.name);
  }
  EXPECT_EQ(names.size(), embeddedFiles().size());
  for (const char* name :
       {"ship0.bmp", "ship7.bmp", "hit_disc.bmp", "ball.bmp", "needle.bmp", "smoke.bmp",
        "flame.bmp", "fire.bmp", "shot.wav", "hit.wav", "title.jpg"})
    EXPECT_TRUE(names.count(name)) << name;
  EXPECT_EQ(names.size(), 17u);
  EXPECT_TRUE(embeddedFile("nope").empty());
  EXPECT_TRUE(embeddedFile("").empty());
}

TEST(AssetsBitmaps, AreUncompressed24BitAtTheirCatalogueSizes) {
  struct Expected {
    const char* name;
    int w, h;
  };
  std::vector<Expected> expected{{"hit_disc.bmp", 40, 40}, {"ball.bmp", 3, 3},
                                 {"needle.bmp", 150, 5},   {"smoke.bmp", 10, 10},
                                 {"flame.bmp", 15, 75},    {"fire.bmp", 150, 150}};
  for (const char* ship : kShips) expected.push_back({ship, 150, 150});
  for (const auto& [name, w, h] : expected) {
    const Bitmap b = bitmap(name);
    ASSERT_GE(b.data.size(), 54u) << name;
    EXPECT_EQ(tag(b.data, 0).substr(0, 2), "BM") << name;
    EXPECT_EQ(le32(b.data, 2), b.data.size()) << name;
    EXPECT_EQ(le32(b.data, 14), 40u) << name;  // BITMAPINFOHEADER
    EXPECT_EQ(le16(b.data, 28), 24u) << name;
    EXPECT_EQ(le32(b.data, 30), 0u) << name;  // no compression
    EXPECT_EQ(b.w(), w) << name;
    EXPECT_EQ(b.h(), h) << name;
    const size_t row = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
    EXPECT_GE(b.data.size(), le32(b.data, 10) + row * static_cast<size_t>(h)) << name;
  }
}

TEST(AssetsShips, StandOnPureWhiteWithHardEdgesAndGrowWithTheClass) {
  int previousArea = 0;
  for (const char* name : kShips) {
    const Bitmap ship = bitmap(name);
    const auto isShip = [](Rgb c) { return !isWhite(c); };
    // A pale pixel next to the key colour would show as a fringe on the sea.
    EXPECT_EQ(ship.count([](Rgb c) {
      return !isWhite(c) && std::min({c[0], c[1], c[2]}) >= 255 - 24;
    }),
              0)
        << name;
    EXPECT_EQ(enclosedKeyPixels(ship, kWhite), 0) << name << ": sea showing through the ship";

    int left = 150, right = -1, top = 150, bottom = -1;
    for (int y = 0; y < 150; ++y)
      for (int x = 0; x < 150; ++x)
        if (isShip(ship.at(x, y)))
          left = std::min(left, x), right = std::max(right, x), top = std::min(top, y),
          bottom = std::max(bottom, y);
    EXPECT_GT(left, 0) << name << ": nothing cut off at the sides";
    EXPECT_LT(right, 149) << name;
    EXPECT_GT(top, 0) << name << ": nor at the bow";
    EXPECT_NEAR((left + right) / 2.0, 74.5, 3) << name << ": turned about the picture centre";
    EXPECT_GT(bottom - top, right - left) << name << ": bow up, so longer than wide";
    // The stern sits on the bottom edge: one stretch of transom, centred.
    int sternLeft = 150, sternRight = -1, sternPixels = 0;
    for (int x = 0; x < 150; ++x)
      if (isShip(ship.at(x, 149)))
        sternLeft = std::min(sternLeft, x), sternRight = std::max(sternRight, x), ++sternPixels;
    EXPECT_EQ(sternPixels, sternRight - sternLeft + 1) << name;
    EXPECT_NEAR((sternLeft + sternRight) / 2.0, 74.5, 1) << name;

    const int area = ship.count(isShip);
    EXPECT_GT(area, previousArea) << name << ": each class bigger than the one before";
    previousArea = area;
  }
}

// A ball vanishes when it touches one of the three zones along the centre line;
// the hull must be there for the player to see what was hit.
TEST(AssetsShips, HullsLieUnderAllThreeHitZones) {
  for (const char* name : kShips) {
    const Bitmap ship = bitmap(name);
    for (int y = kZoneTops[0]; y < 150; ++y)
      for (int x = 71; x <= 78; ++x)
        ASSERT_FALSE(isWhite(ship.at(x, y))) << name << ": open water on the centre line at " << y;
    for (int top : kZoneTops) {
      int zone = 0, covered = 0;
      for (int y = top; y < top + 40; ++y)
        for (int x = 55; x < 95; ++x)
          if (inZone(x, y, top)) ++zone, covered += isWhite(ship.at(x, y)) ? 0 : 1;
      EXPECT_GT(covered, zone * 8 / 10) << name << ": zone at row " << top;
    }
  }
}

TEST(AssetsBlackKeyed, DrawTheirShapeOnBlack) {
  const Bitmap disc = bitmap("hit_disc.bmp");
  const int discArea = disc.count([](Rgb c) { return !isBlack(c); });
  EXPECT_NEAR(discArea, 3.14159 * 20 * 20, 30);
  EXPECT_TRUE(isBlack(disc.at(0, 0)) && isBlack(disc.at(39, 39)));
  EXPECT_FALSE(isBlack(disc.at(0, 20)) || isBlack(disc.at(20, 0)) || isBlack(disc.at(39, 19)));
  EXPECT_EQ(disc.at(20, 20)[0], disc.at(20, 20)[2]) << "grey";

  const Bitmap ball = bitmap("ball.bmp");
  EXPECT_EQ(ball.count([](Rgb c) { return c == Rgb{2, 2, 2}; }), 9);

  const Bitmap smoke = bitmap("smoke.bmp");
  for (int y = 3; y < 7; ++y)
    for (int x = 3; x < 7; ++x)
      EXPECT_FALSE(isBlack(smoke.at(x, y))) << "hole in the puff at " << x << "," << y;
  EXPECT_EQ(smoke.count([](Rgb c) { return !isBlack(c) && std::abs(c[0] - c[2]) > 30; }), 0)
      << "grey";

  for (const char* name : {"smoke.bmp", "flame.bmp", "fire.bmp", "needle.bmp"})
    EXPECT_EQ(enclosedKeyPixels(bitmap(name), kBlack), 0) << name << ": a hole in the shape";
  for (const char* name : {"smoke.bmp", "flame.bmp", "fire.bmp"}) {
    const Bitmap b = bitmap(name);
    EXPECT_EQ(b.countBorder(isBlack), b.borderSize()) << name << ": cut off at the edge";
  }
  for (const char* name : {"flame.bmp", "fire.bmp"}) {
    const Bitmap b = bitmap(name);
    EXPECT_GT(b.count(isWarm), b.w() * b.h() / 8) << name;
  }
}

// The flame is turned across the ship with its middle on the centre line: its top
// end lies over the far side of the hull, where a flame would be wrong.
TEST(AssetsBlackKeyed, FlameShowsOnlyOnTheFiringSide) {
  const Bitmap flame = bitmap("flame.bmp");
  constexpr int kNarrowestHalfBeam = 17;
  int acrossTheHull = 0;
  for (int y = 0; y < 37 - kNarrowestHalfBeam; ++y)
    for (int x = 0; x < 15; ++x) acrossTheHull += isBlack(flame.at(x, y)) ? 0 : 1;
  EXPECT_EQ(acrossTheHull, 0);
  EXPECT_GT(flame.count([](Rgb c) { return c[0] > 240 && c[1] > 160; }), 20) << "a bright core";
}

TEST(AssetsBlackKeyed, NeedleIsRedWithItsTipAtTheLeftEnd) {
  const Bitmap needle = bitmap("needle.bmp");
  EXPECT_EQ(needle.count([](Rgb c) { return !isBlack(c) && c[0] < 2 * std::max(c[1], c[2]) + 60; }),
            0)
      << "red";
  const auto column = [&](int x) {
    int n = 0;
    for (int y = 0; y < 5; ++y) n += isBlack(needle.at(x, y)) ? 0 : 1;
    return n;
  };
  int tip = 150, tail = -1;
  for (int x = 0; x < 150; ++x)
    if (column(x) > 0) tip = std::min(tip, x), tail = std::max(tail, x);
  EXPECT_GT(tip, 0) << "not cut off";
  EXPECT_LT(tip, 4) << "reaches the dial's rim";
  EXPECT_LT(tail, 149) << "not cut off";
  EXPECT_GT(74.5 - tip, tail - 74.5 + 20) << "the pointer is the left end, about the pivot";
  EXPECT_LE(column(tip + 3), 1) << "pointed";
  // Only the round hub at the pivot fills the picture's whole height.
  for (int x = 0; x < 150; ++x) {
    if (column(x) == 5) {
      EXPECT_NEAR(x, 74.5, 2.5) << x;
    }
  }
}

struct Wave {
  uint32_t format = 0, channels = 0, rate = 0, byteRate = 0, blockAlign = 0, bits = 0, samples = 0;
  Bytes data;
};

// Walks the RIFF chunks; a chunk of odd length is followed by a pad byte.
Wave readWave(Bytes b) {
  Wave w;
  EXPECT_EQ(tag(b, 0), "RIFF");
  EXPECT_EQ(le32(b, 4) + 8, b.size());
  EXPECT_EQ(tag(b, 8), "WAVE");
  for (size_t at = 12; at + 8 <= b.size();) {
    const uint32_t length = le32(b, at + 4);
    if (tag(b, at) == "fmt ") {
      w.format = le16(b, at + 8), w.channels = le16(b, at + 10), w.rate = le32(b, at + 12);
      w.byteRate = le32(b, at + 16), w.blockAlign = le16(b, at + 20), w.bits = le16(b, at + 22);
    } else if (tag(b, at) == "data") {
      w.samples = length;
      w.data = b.subspan(at + 8, std::min<size_t>(length, b.size() - at - 8));
    }
    at += 8 + length + (length & 1);
  }
  return w;
}

TEST(AssetsSounds, AreMono8BitPcmAtTheirExactRatesAndLengths) {
  struct Expected {
    const char* name;
    uint32_t rate, samples;
  };
  for (const auto& [name, rate, samples] :
       {Expected{"shot.wav", 11025, 10230}, Expected{"hit.wav", 22050, 80537}}) {
    const Wave w = readWave(file(name));
    EXPECT_EQ(w.format, 1u) << name;
    EXPECT_EQ(w.channels, 1u) << name;
    EXPECT_EQ(w.bits, 8u) << name;
    EXPECT_EQ(w.rate, rate) << name;
    EXPECT_EQ(w.byteRate, rate) << name;
    EXPECT_EQ(w.blockAlign, 1u) << name;
    EXPECT_EQ(w.samples, samples) << name;
    ASSERT_EQ(w.data.size(), samples) << name;
    EXPECT_GT(*std::max_element(w.data.begin(), w.data.end()), 128 + 64) << name << ": audible";
    EXPECT_NEAR(w.data.back(), 128, 2) << name << ": ends in silence, no click";
  }
}

double rms(Bytes samples) {
  double sum = 0;
  for (uint8_t s : samples) sum += (s - 128.0) * (s - 128.0);
  return std::sqrt(sum / static_cast<double>(samples.size()));
}

// Loud at once, no sample at the 8-bit limits (where a clipped wave flattens),
// and dying away to silence well before the end rather than being cut off.
TEST(AssetsSounds, StrikeAtOnceDieAwayAndNeverClip) {
  for (const char* name : {"shot.wav", "hit.wav"}) {
    const Wave w = readWave(file(name));
    ASSERT_GT(w.data.size(), 1000u) << name;
    const auto [low, high] = std::minmax_element(w.data.begin(), w.data.end());
    EXPECT_GT(*low, 0) << name;
    EXPECT_LT(*high, 255) << name;
    const auto loudest = std::max_element(w.data.begin(), w.data.end(), [](uint8_t a, uint8_t b) {
      return std::abs(a - 128) < std::abs(b - 128);
    });
    EXPECT_LT(loudest - w.data.begin(), w.rate / 50) << name << ": the loudest moment within 20 ms";
    const size_t tenth = w.data.size() / 10;
    const double start = rms(w.data.first(tenth)), end = rms(w.data.last(tenth));
    EXPECT_LT(end, start / 30) << name << ": fades out";
    EXPECT_TRUE(std::all_of(w.data.end() - static_cast<ptrdiff_t>(tenth / 2), w.data.end(),
                            [](uint8_t s) { return s == 128; }))
        << name << ": silent at the end";
    // The tail decays steadily: each eighth of the sound is no louder than the one before.
    const size_t eighth = w.data.size() / 8;
    for (size_t k = 1; k < 8; ++k)
      EXPECT_LE(rms(w.data.subspan(k * eighth, eighth)),
                rms(w.data.subspan((k - 1) * eighth, eighth)) + 0.5)
          << name << " eighth " << k;
  }
}

// libjpeg reports fatal errors by calling error_exit, which must not return.
struct JpegErrors {
  jpeg_error_mgr manager{};
  std::jmp_buf escape{};
};

void escapeOnError(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->escape, 1);
}

// The start-of-frame marker type, read by walking the segments before the scan.
int startOfFrameMarker(Bytes b) {
  for (size_t at = 2; at + 4 <= b.size() && b[at] == 0xFF;) {
    const int marker = b[at + 1];
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
      return marker;
    at += 2 + (b[at + 2] << 8 | b[at + 3]);
  }
  return -1;
}

struct JpegFacts {
  bool decoded = false, jfif = false, progressive = true, arithmetic = true;
  unsigned width = 0, height = 0;
  int components = 0;
  J_COLOR_SPACE space = JCS_UNKNOWN;
  std::array<bool, 4096> shadesSeen{};  // coarse red/blue pairs, to tell a picture from a flat fill
};

// Only trivially destructible locals here: a libjpeg error jumps straight out.
void decodeJpeg(Bytes jpeg, JpegFacts& facts) {
  jpeg_decompress_struct cinfo{};
  JpegErrors errors;
  cinfo.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = escapeOnError;
  if (setjmp(errors.escape)) {
    jpeg_destroy_decompress(&cinfo);
    return;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&cinfo, TRUE);
  facts.jfif = cinfo.saw_JFIF_marker;
  facts.progressive = cinfo.progressive_mode;
  facts.arithmetic = cinfo.arith_code;
  facts.width = cinfo.image_width, facts.height = cinfo.image_height;
  facts.components = cinfo.num_components;
  facts.space = cinfo.jpeg_color_space;
  std::array<JSAMPLE, 500 * 3> row{};
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  if (cinfo.output_width * 3 <= row.size()) {
    while (cinfo.output_scanline < cinfo.output_height) {
      JSAMPLE* rows[] = {row.data()};
      jpeg_read_scanlines(&cinfo, rows, 1);
      for (size_t i = 0; i < cinfo.output_width * 3; i += 3)
        facts.shadesSeen[row[i] / 4 * 64 + row[i + 2] / 4] = true;
    }
    jpeg_finish_decompress(&cinfo);
    facts.decoded = true;
  }
  jpeg_destroy_decompress(&cinfo);
}

TEST(AssetsTitle, IsABaselineJfifOf500By361InYCbCr) {
  const Bytes jpeg = file("title.jpg");
  EXPECT_EQ(startOfFrameMarker(jpeg), 0xC0) << "baseline";
  JpegFacts facts;
  decodeJpeg(jpeg, facts);
  EXPECT_TRUE(facts.decoded);
  EXPECT_TRUE(facts.jfif);
  EXPECT_FALSE(facts.progressive);
  EXPECT_FALSE(facts.arithmetic);
  EXPECT_EQ(facts.width, 500u);
  EXPECT_EQ(facts.height, 361u);
  EXPECT_EQ(facts.components, 3);
  EXPECT_EQ(facts.space, JCS_YCbCr);
  EXPECT_GT(std::count(facts.shadesSeen.begin(), facts.shadesSeen.end(), true), 100);
}

}  // namespace

// Pure drawing operations on Images: copies with and without a transparent colour, turned
// drawing, the pixel overlap test and filled shapes. Everything clips to the destination,
// whatever the position or size, and colours are 0x00RRGGBB.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

#include "media/image.h"

inline constexpr uint32_t kRgbMask = 0x00FFFFFF;

inline uint32_t packRgb(uint8_t r, uint8_t g, uint8_t b) {
  return (uint32_t{r} << 16) | (uint32_t{g} << 8) | uint32_t{b};
}

inline bool isKey(uint32_t pixel, uint32_t key) { return (pixel & kRgbMask) == key; }

// Pixels [x, x + w) x [y, y + h) of an image.
struct PixelBox {
  int x = 0, y = 0, w = 0, h = 0;
  friend bool operator==(const PixelBox&, const PixelBox&) = default;
};

// The whole of an image, the clip of the drawings below that take none.
inline PixelBox wholeOf(const Image& image) { return {0, 0, image.w, image.h}; }

// The pixels in both (of at most int range); w or h not positive when there are none.
inline PixelBox intersection(const PixelBox& a, const PixelBox& b) {
  const int64_t x0 = std::max(a.x, b.x), y0 = std::max(a.y, b.y);
  const int64_t x1 = std::min(int64_t{a.x} + a.w, int64_t{b.x} + b.w);
  const int64_t y1 = std::min(int64_t{a.y} + a.h, int64_t{b.y} + b.h);
  return {static_cast<int>(x0), static_cast<int>(y0),
          static_cast<int>(std::clamp<int64_t>(x1 - x0, -1, INT32_MAX)),
          static_cast<int>(std::clamp<int64_t>(y1 - y0, -1, INT32_MAX))};
}

// Every pixel of dst.
void fillImage(Image& dst, uint32_t colour);
// The colour of every pixel of the image, when they all have the same.
std::optional<uint32_t> soleColour(const Image& image);

// The whole of src with its top-left corner at (x, y). Each drawing that takes a clip changes
// only pixels inside it (and inside dst), exactly as the drawing without one would there.
void copyImage(Image& dst, const Image& src, int x, int y);
void copyImage(Image& dst, const Image& src, int x, int y, const PixelBox& clip);
// As copyImage, but pixels of the colour `key` are left out.
void copyImageKeyed(Image& dst, const Image& src, int x, int y, uint32_t key);
void copyImageKeyed(Image& dst, const Image& src, int x, int y, uint32_t key, const PixelBox& clip);

// A picture made ready for turned drawing with one transparent colour: cut to the box of its
// opaque texels (all else is transparent, and a ship's box is a fraction of its picture),
// framed by a transparent border, so that sampling needs no bounds checks, with every texel
// marked opaque or not, and enclosed by a few straight lines that hold all of its opaque
// texels, so that the mostly transparent rest of a turned box is never visited. Make it
// again when the picture or its transparent colour changes.
class TurnSource {
 public:
  TurnSource(const Image& src, uint32_t key);

  // a * u + b * v <= c for every point (u, v) of an opaque texel's square, in source
  // coordinates with texel centres at whole numbers; (a, b) has length 1.
  struct Bound {
    double a = 0, b = 0, c = 0;
  };
  static constexpr int kBoundCount = 16;
  // A texel holds blue, green and red each in the low byte of a 16-bit lane (bits 0, 16
  // and 32), so that one multiplication weighs all three, and two marks above them.
  static constexpr uint64_t kOpaque = uint64_t{1} << 48;
  // This texel and its neighbours to the right, below and below right are all opaque.
  static constexpr uint64_t kBlockOpaque = uint64_t{1} << 49;

  // The whole picture's size.
  int width() const { return w_; }
  int height() const { return h_; }
  bool blank() const { return box_.w == 0; }
  const std::array<Bound, kBoundCount>& bounds() const { return bounds_; }

  // The opaque texels' box in the picture, and its texel (x, y) counted from the box's
  // corner, for -1 <= x <= box width and -1 <= y <= box height; the border is transparent.
  struct Box {
    int left = 0, top = 0, w = 0, h = 0;
  };
  const Box& opaqueBox() const { return box_; }
  const uint64_t* texelAt(int x, int y) const {
    return texels_.data() + static_cast<ptrdiff_t>(y + 1) * stride_ + (x + 1);
  }
  ptrdiff_t stride() const { return stride_; }

 private:
  uint64_t& texel(int x, int y) {
    return texels_[static_cast<size_t>((y + 1) * stride_ + (x + 1))];
  }
  void findOpaqueBox(const Image& src, uint32_t key);
  void markOpaqueBlocks();
  void encloseOpaqueTexels();

  int w_ = 0, h_ = 0;
  Box box_;
  ptrdiff_t stride_ = 0;
  std::vector<uint64_t> texels_;
  std::array<Bound, kBoundCount> bounds_{};
};

// src turned clockwise (y down) by `degrees` about its own centre, that centre placed at
// (centreX, centreY); pixel p's centre is at coordinate p. Only opaque texels are sampled
// (bilinear), and every drawn pixel is opaque. Returns a box that holds every pixel it drew.
PixelBox drawTurned(Image& dst, const TurnSource& src, double centreX, double centreY,
                    double degrees);
// The same for a picture and its transparent colour, prepared anew on each call.
PixelBox drawTurned(Image& dst, const Image& src, uint32_t key, double centreX, double centreY,
                    double degrees);

// Turned drawings of one prepared picture at the last few angles it was drawn at, row by row,
// wherever it was drawn: a ship that sails without turning is copied, not sampled, frame after
// frame. A row is copied only where a fresh drawing would walk the picture exactly as the kept
// one did, so the pixels are drawTurned's. Forget them when the picture changes.
class TurnCache {
 public:
  void clear() {
    entries_.clear();
    seen_ = {};
  }

  // One destination row of a kept drawing: the walk through the picture (its first column,
  // counted from the drawing's anchor, and the source point there) and the runs of pixels
  // drawn.
  struct Row {
    bool walks = false;  // the row meets the picture's box at all
    int32_t first = 0;
    int64_t fx = 0, fy = 0;
    uint32_t runAt = 0, runCount = 0;
  };
  // Pixels side by side, from column `from` (counted from the anchor) on.
  struct Run {
    int32_t from = 0, length = 0;
    uint32_t at = 0;  // in `pixels`
  };
  // A place the kept drawing was drawn at, its centre to the bit, and for each kept row
  // whether a fresh drawing there walks the picture as the kept one did, or else the row's own
  // pixels there (a row cut by the screen's edge walks differently): drawn at the same place
  // again (a ship at rest, its flames), no row needs a walk or a sample.
  struct Place {
    enum Walk : uint8_t { kUnknown, kKept, kOwn };
    struct RowState {
      Walk walk = kUnknown;
      uint32_t runAt = 0, runCount = 0;  // kOwn: in runs
    };
    uint64_t x = 0, y = 0;
    int width = 0;  // of the picture drawn on, whose right edge ends walks
    std::vector<RowState> rows;
    std::vector<Run> runs;  // columns counted from the anchor
    std::vector<uint32_t> pixels;
  };
  // A drawing kept for one angle and one place of the centre within its pixel; rows and
  // columns are counted from the anchor, the pixel holding the centre.
  struct Entry {
    uint64_t degrees = 0, fractionX = 0, fractionY = 0;  // bit patterns
    uint64_t lastUse = 0;
    int32_t firstRow = 0;
    std::vector<Row> rows;
    std::vector<Run> runs;
    std::vector<uint32_t> pixels;
    // The flames of three ships share a picture and an angle. A place's own rows can hold a
    // picture's worth of pixels, so few are remembered.
    static constexpr size_t kPlaces = 3;
    std::array<Place, kPlaces> places;
    size_t nextPlace = 0;

    // The row's index, or -1 outside the kept rows.
    int64_t rowIndex(int64_t fromAnchor) const {
      const int64_t i = fromAnchor - firstRow;
      return i >= 0 && i < static_cast<int64_t>(rows.size()) ? i : -1;
    }
    Place& placeAt(double centreX, double centreY, int width);
  };

  // The drawing for this angle and place: kept, or made now when it was asked for once before
  // (a needle that trembles takes a new angle every frame: making those would be waste);
  // nullptr else.
  Entry* entry(const TurnSource& src, double centreX, double centreY, double degrees);

 private:
  struct Key {
    uint64_t degrees = 0, fractionX = 0, fractionY = 0;
    bool operator==(const Key&) const = default;
  };
  static constexpr size_t kSeen = 32;
  std::array<Key, kSeen> seen_{};
  size_t nextSeen_ = 0;

  // A ship, its flames and a needle or two take a few angles a frame; a needle trembling
  // between a handful of speeds takes a dozen in turn.
  static constexpr size_t kEntries = 16;
  const TurnSource* source_ = nullptr;
  std::vector<Entry> entries_;
  uint64_t uses_ = 0;
};

// As drawTurned, but only inside the clips, and through the cache.
void drawTurned(Image& dst, const TurnSource& src, TurnCache& cache, double centreX, double centreY,
                double degrees, std::span<const PixelBox> clips);
// A box on dst that holds every pixel drawTurned may change there, worked out without drawing.
PixelBox turnedBox(const Image& dst, const TurnSource& src, double centreX, double centreY,
                   double degrees);
// The same box, and after `bands` the boxes that hold those pixels band by band (rows
// [k * bandHeight, (k + 1) * bandHeight)): a picture that lies aslant fills half its box or less.
PixelBox turnedBox(const Image& dst, const TurnSource& src, double centreX, double centreY,
                   double degrees, int bandHeight, std::vector<PixelBox>& bands);

// True when a at (xa, ya) and b at (xb, yb) share no pixel at all (rectangles that only
// touch share none). Cheap enough to be made before anything else.
inline bool boxesApart(const Image& a, int xa, int ya, const Image& b, int xb, int yb) {
  return std::max<int64_t>(xa, xb) >= std::min(int64_t{xa} + a.w, int64_t{xb} + b.w) ||
         std::max<int64_t>(ya, yb) >= std::min(int64_t{ya} + a.h, int64_t{yb} + b.h);
}

// True when a at (xa, ya) and b at (xb, yb) share a pixel that is not transparent in either.
bool imagesOverlap(const Image& a, uint32_t keyA, int xa, int ya, const Image& b, uint32_t keyB,
                   int xb, int yb);

// Asks for the first rows of a box that lies wholly on dst to be brought into the cache,
// kFetchAhead boxes before they are drawn: small boxes spread over the picture each wait for
// memory otherwise.
inline constexpr size_t kFetchAhead = 16;
// Inlined early, on purpose: a function of nothing but prefetches looks free of effects to
// the compiler, and a call of it that nobody reads is dropped, prefetches and all.
[[gnu::always_inline]] inline void fetchRowsFor(const uint32_t* pixels, ptrdiff_t stride,
                                                const PixelBox& box) {
  if (box.w <= 0 || box.h <= 0) return;
  const uint32_t* row = pixels + box.y * stride + box.x;
  __builtin_prefetch(row, 1);
  if (box.h > 1) __builtin_prefetch(row + stride, 1);
  if (box.h > 2) __builtin_prefetch(row + 2 * stride, 1);
  if (box.h > 3) __builtin_prefetch(row + 3 * stride, 1);
}
[[gnu::always_inline]] inline void fetchRowsFor(Image& dst, const PixelBox& box) {
  fetchRowsFor(dst.pixels.data(), dst.w, box);
}

// Four pixels a store: the compiler does not vectorise a fill loop of unknown length at -O2,
// and a call to memset costs more than the few pixels of a ball's row.
inline void fillRow(uint32_t* to, int count, const std::array<uint32_t, 4>& four) {
  int i = 0;
  for (; i + 4 <= count; i += 4) std::memcpy(to + i, four.data(), sizeof four);
  for (; i < count; ++i) to[i] = four[0];
}

// The pixels of boxes boxOf(0) to boxOf(count - 1), which lie wholly on dst (not checked), in
// one colour: the sea restored under a few thousand cannonballs, or the cannonballs, where
// the cost of a box is all in its handling.
template <typename BoxOf>
void fillBoxesOnImage(Image& dst, size_t count, BoxOf boxOf, uint32_t colour) {
  const std::array<uint32_t, 4> four = {colour, colour, colour, colour};
  // Held apart from the pixels, which as unsigned ints could be the boxes' or the picture's
  // own numbers as far as the compiler knows, and would be read again after every store.
  uint32_t* const pixels = dst.pixels.data();
  const ptrdiff_t stride = dst.w;
  for (size_t i = 0; i < count; ++i) {
    // The boxes lie all over the picture: the rows of one a few ahead are fetched meanwhile.
    if (i + kFetchAhead < count) fetchRowsFor(pixels, stride, boxOf(i + kFetchAhead));
    const PixelBox b = boxOf(i);
    if (b.w <= 0 || b.h <= 0) continue;
    uint32_t* row = pixels + b.y * stride + b.x;
    if (b.w >= 2 && b.w <= 4 && b.h <= 4) {
      // A ball's box: two overlapping stores of two a row, without a loop.
      const auto fill = [&](ptrdiff_t r) {
        std::memcpy(row + r * stride, four.data(), 2 * sizeof(uint32_t));
        std::memcpy(row + r * stride + b.w - 2, four.data(), 2 * sizeof(uint32_t));
      };
      switch (b.h) {
        case 4:
          fill(3);
          [[fallthrough]];
        case 3:
          fill(2);
          [[fallthrough]];
        case 2:
          fill(1);
          [[fallthrough]];
        default:
          fill(0);
      }
      continue;
    }
    for (int r = 0; r < b.h; ++r, row += stride) fillRow(row, b.w, four);
  }
}
void fillBoxesOnImage(Image& dst, std::span<const PixelBox> boxes, uint32_t colour);

// Rectangle [x, x + w) x [y, y + h); nothing when w or h is not positive.
void fillBox(Image& dst, int x, int y, int w, int h, uint32_t colour);
void fillBox(Image& dst, int x, int y, int w, int h, uint32_t colour, const PixelBox& clip);
// Rectangle with elliptic corners; negative sizes extend to the left / upwards, radii are cut
// to half the size.
void fillRoundBox(Image& dst, int x, int y, int w, int h, int rx, int ry, uint32_t colour);
void fillRoundBox(Image& dst, int x, int y, int w, int h, int rx, int ry, uint32_t colour,
                  const PixelBox& clip);
// Every pixel with dx * dx + dy * dy <= r * r from (x, y); nothing when r is negative.
void fillCircle(Image& dst, int x, int y, int r, uint32_t colour);
void fillCircle(Image& dst, int x, int y, int r, uint32_t colour, const PixelBox& clip);

// Pure drawing operations on Images: copies with and without a transparent colour, turned
// drawing, the pixel overlap test and filled shapes. Everything clips to the destination,
// whatever the position or size, and colours are 0x00RRGGBB.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "media/image.h"

inline constexpr uint32_t kRgbMask = 0x00FFFFFF;

inline uint32_t packRgb(uint8_t r, uint8_t g, uint8_t b) {
  return (uint32_t{r} << 16) | (uint32_t{g} << 8) | uint32_t{b};
}

inline bool isKey(uint32_t pixel, uint32_t key) { return (pixel & kRgbMask) == key; }

// Every pixel of dst.
void fillImage(Image& dst, uint32_t colour);
// The colour of every pixel of the image, when they all have the same.
std::optional<uint32_t> soleColour(const Image& image);

// The whole of src with its top-left corner at (x, y).
void copyImage(Image& dst, const Image& src, int x, int y);
// As copyImage, but pixels of the colour `key` are left out.
void copyImageKeyed(Image& dst, const Image& src, int x, int y, uint32_t key);

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

// Pixels [x, x + w) x [y, y + h) of an image.
struct PixelBox {
  int x = 0, y = 0, w = 0, h = 0;
};

// src turned clockwise (y down) by `degrees` about its own centre, that centre placed at
// (centreX, centreY); pixel p's centre is at coordinate p. Only opaque texels are sampled
// (bilinear), and every drawn pixel is opaque. Returns a box that holds every pixel it drew.
PixelBox drawTurned(Image& dst, const TurnSource& src, double centreX, double centreY,
                    double degrees);
// The same for a picture and its transparent colour, prepared anew on each call.
PixelBox drawTurned(Image& dst, const Image& src, uint32_t key, double centreX, double centreY,
                    double degrees);

// True when a at (xa, ya) and b at (xb, yb) share no pixel at all (rectangles that only
// touch share none). Cheap enough to be made before anything else.
inline bool boxesApart(const Image& a, int xa, int ya, const Image& b, int xb, int yb) {
  return std::max<int64_t>(xa, xb) >= std::min(int64_t{xa} + a.w, int64_t{xb} + b.w) ||
         std::max<int64_t>(ya, yb) >= std::min(int64_t{ya} + a.h, int64_t{yb} + b.h);
}

// True when a at (xa, ya) and b at (xb, yb) share a pixel that is not transparent in either.
bool imagesOverlap(const Image& a, uint32_t keyA, int xa, int ya, const Image& b, uint32_t keyB,
                   int xb, int yb);

// Rectangle [x, x + w) x [y, y + h); nothing when w or h is not positive.
void fillBox(Image& dst, int x, int y, int w, int h, uint32_t colour);
// Rectangle with elliptic corners; negative sizes extend to the left / upwards, radii are cut
// to half the size.
void fillRoundBox(Image& dst, int x, int y, int w, int h, int rx, int ry, uint32_t colour);
// Every pixel with dx * dx + dy * dy <= r * r from (x, y); nothing when r is negative.
void fillCircle(Image& dst, int x, int y, int r, uint32_t colour);

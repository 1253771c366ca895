// Pure drawing operations on Images: copies with and without a transparent colour, turned
// drawing, the pixel overlap test and filled shapes. Everything clips to the destination,
// whatever the position or size, and colours are 0x00RRGGBB.
#pragma once

#include <cstdint>

#include "media/image.h"

inline constexpr uint32_t kRgbMask = 0x00FFFFFF;

inline uint32_t packRgb(uint8_t r, uint8_t g, uint8_t b) {
  return (uint32_t{r} << 16) | (uint32_t{g} << 8) | uint32_t{b};
}

inline bool isKey(uint32_t pixel, uint32_t key) { return (pixel & kRgbMask) == key; }

// The whole of src with its top-left corner at (x, y).
void copyImage(Image& dst, const Image& src, int x, int y);
// As copyImage, but pixels of the colour `key` are left out.
void copyImageKeyed(Image& dst, const Image& src, int x, int y, uint32_t key);

// src turned clockwise (y down) by `degrees` about its own centre, that centre placed at
// (centreX, centreY); pixel p's centre is at coordinate p. Only texels other than `key` are
// sampled (bilinear), and every drawn pixel is opaque.
void drawTurned(Image& dst, const Image& src, uint32_t key, double centreX, double centreY,
                double degrees);

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

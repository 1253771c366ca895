// Test helper: a Windows bitmap (24 bits per pixel) of an Image, as the asset files are.
#pragma once

#include <cstdint>
#include <vector>

#include "media/image.h"

inline void putLittleEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// Rows are stored bottom-up unless topDown (a negative height in the header).
inline std::vector<uint8_t> makeBmp24(const Image& image, bool topDown = false) {
  const uint32_t stride = (static_cast<uint32_t>(image.w) * 3 + 3) & ~3u;
  const uint32_t dataSize = stride * static_cast<uint32_t>(image.h);
  std::vector<uint8_t> out{'B', 'M'};
  putLittleEndian(out, 54 + dataSize, 4);
  putLittleEndian(out, 0, 4);
  putLittleEndian(out, 54, 4);
  putLittleEndian(out, 40, 4);
  putLittleEndian(out, static_cast<uint32_t>(image.w), 4);
  putLittleEndian(out, static_cast<uint32_t>(topDown ? -image.h : image.h), 4);
  putLittleEndian(out, 1, 2);
  putLittleEndian(out, 24, 2);
  putLittleEndian(out, 0, 4);
  putLittleEndian(out, dataSize, 4);
  for (int i = 0; i < 4; ++i) putLittleEndian(out, 0, 4);
  for (int r = 0; r < image.h; ++r) {
    const int y = topDown ? r : image.h - 1 - r;
    for (int x = 0; x < image.w; ++x) putLittleEndian(out, image.at(x, y), 3);  // B, G, R
    for (uint32_t pad = static_cast<uint32_t>(image.w) * 3; pad < stride; ++pad) out.push_back(0);
  }
  return out;
}

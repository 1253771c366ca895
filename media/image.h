// A picture in memory: w x h pixels, 0x00RRGGBB each, rows top to bottom.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct Image {
  int w = 0, h = 0;
  std::vector<uint32_t> pixels;

  Image() = default;
  Image(int width, int height, uint32_t fill = 0)
      : w(width), h(height), pixels(static_cast<size_t>(width) * height, fill) {}
  uint32_t& at(int x, int y) { return pixels[static_cast<size_t>(y) * w + x]; }
  uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * w + x]; }
  bool empty() const { return pixels.empty(); }
};
